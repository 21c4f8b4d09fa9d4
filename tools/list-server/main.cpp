// morvel-list-server: a small stand-in for the List server of the "Велано" complex.
// It serves the Lists of a folder of List files over the same exchange the program
// uses (GET /<application>/GetList?user=&pass=&regNum=&year=&quarter=[&collect=])
// and can give every answer shape the program has to cope with, including broken
// ones, so that the program's server mode can be tested and demonstrated without
// the real complex. It listens on 127.0.0.1 only.
#include <httplib.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "base/encoding.h"
#include "list_store.h"

namespace morvel::listserver {
namespace {

enum class TFault { fNone, fHttpError, fNotXml, fHtmlPage, fTruncated, fHang, fEndless };

struct TOptions {
  std::string lists;
  int port = 0;
  std::optional<std::string> user;
  std::optional<std::string> password;
  TFault fault = TFault::fNone;
  std::string logFile;
};

constexpr char kHelp[] = R"(Usage: morvel-list-server [options]

A reference List server for tests and demonstrations. It listens on 127.0.0.1 and
answers GET /<application>/GetList?user=U&pass=P&regNum=R&year=Y&quarter=Q[&collect=C]
(any application name) with an XML document.

Options:
  --lists DIR      folder of List files (*.xml), read at start in the order of their
                   names; a file that cannot be read is skipped with a note on
                   standard error
  --port N         port to listen on; 0 (the default) takes any free port. The port
                   is the first line written to standard output
  --user U         user name a request must carry
  --password P     password a request must carry; with neither option given any
                   credentials pass
  --fault KIND     answer every request with a fault instead:
                     http-error  HTTP status 500
                     not-xml     status 200 with a body that is not XML
                     html-page   status 200 with a well-formed HTML page, as the
                                 error page of a proxy in between looks
                     truncated   status 200 announcing the whole XML answer, the
                                 connection dropping after half of it
                     hang        the request is accepted and never answered; the
                                 client has to give up by its own time-out
                     endless     status 200 with a body that never ends (an
                                 opening element followed by blanks)
  --log FILE       also append every request line received to FILE (request lines
                   always go to standard output, one per line, flushed at once)
  --help           this text

Which List answers a request: the first one, in file order and then in document
order of the "Перечень" elements within a file, whose "Предприятие" has "РегНомер"
or "РегНомерЕЦП" equal to regNum, whose "ОтчетныйГод" equals year, and whose
period p fits. p is "ОтчетныйПериод" (months; 0, empty or absent count as 12)
divided by 3 (by 6 for 2010, which was reported by half-years, so that its
quarter parameter counts half-years). It fits when p equals quarter, or, when collect C is given, when
C <= p <= quarter: a List submitted for a period from C up to the quarter asked
about is still the one in force in that quarter.

Answers: the List is copied into the answer's root element. Errors come as an
answer with "ОсновноеСообщение", "ВерсияПК" and "Пояснение": wrong credentials,
missing or malformed parameters, and a request no List fits, whose "Пояснение"
contains "По запрашиваемым параметрам ничего найдено не было".
)";

// Shared between the request threads and the thread that waits for a signal.
struct TState {
  std::mutex logMutex;
  std::ofstream logFile;
  std::mutex stopMutex;
  std::condition_variable stopped;
  bool stopping = false;
};

void SilentGenericError(void*, const char*, ...) {}

bool ParsePort(const std::string& text, int& port) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 0 || value > 65535) return false;
  port = value;
  return true;
}

bool IsUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    std::size_t follow = 0;
    if (c < 0x80) {
      follow = 0;
    } else if ((c & 0xE0) == 0xC0) {
      follow = 1;
    } else if ((c & 0xF0) == 0xE0) {
      follow = 2;
    } else if ((c & 0xF8) == 0xF0) {
      follow = 3;
    } else {
      return false;
    }
    if (i + follow >= bytes.size()) return false;
    for (std::size_t k = 1; k <= follow; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    i += follow + 1;
  }
  return true;
}

// A query value as text. The program sends the windows-1251 bytes of its texts,
// percent-encoded; a value that already is UTF-8 (typed into a browser or curl)
// is taken as it is.
std::string Param(const httplib::Request& req, const char* name) {
  const std::string bytes = req.get_param_value(name);
  return IsUtf8(bytes) ? bytes : Cp1251ToUtf8(bytes);
}

std::optional<int> ParseNumber(const std::string& text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// Returns 0 to go on, otherwise the exit code (with --help: 0 after the text, which
// is signalled by `done`).
int ParseOptions(int argc, char** argv, TOptions& options, bool& done) {
  done = false;
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    std::optional<std::string> value;
    if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    if (name == "--help" || name == "-h") {
      std::cout << kHelp;
      done = true;
      return 0;
    }
    const bool takesValue = name == "--lists" || name == "--port" || name == "--user" || name == "--password" ||
                            name == "--fault" || name == "--log";
    if (!takesValue) {
      std::cerr << "morvel-list-server: unknown option " << name << " (see --help)\n";
      return 2;
    }
    if (!value) {
      if (i + 1 >= argc) {
        std::cerr << "morvel-list-server: " << name << " needs a value\n";
        return 2;
      }
      value = argv[++i];
    }
    if (name == "--lists") {
      options.lists = *value;
    } else if (name == "--port") {
      if (!ParsePort(*value, options.port)) {
        std::cerr << "morvel-list-server: not a port: " << *value << '\n';
        return 2;
      }
    } else if (name == "--user") {
      options.user = *value;
    } else if (name == "--password") {
      options.password = *value;
    } else if (name == "--log") {
      options.logFile = *value;
    } else if (*value == "http-error") {
      options.fault = TFault::fHttpError;
    } else if (*value == "not-xml") {
      options.fault = TFault::fNotXml;
    } else if (*value == "html-page") {
      options.fault = TFault::fHtmlPage;
    } else if (*value == "truncated") {
      options.fault = TFault::fTruncated;
    } else if (*value == "hang") {
      options.fault = TFault::fHang;
    } else if (*value == "endless") {
      options.fault = TFault::fEndless;
    } else {
      std::cerr << "morvel-list-server: unknown fault " << *value << " (see --help)\n";
      return 2;
    }
  }
  return 0;
}

class TListServer {
 public:
  TListServer(const TOptions& options, const TListStore& store, TState& state)
      : fOptions(options), fStore(store), fState(state) {}

  void Handle(const httplib::Request& req, httplib::Response& res) const {
    switch (fOptions.fault) {
      case TFault::fHttpError:
        res.status = 500;
        res.set_content("Внутренняя ошибка сервера перечней\n", "text/plain; charset=utf-8");
        return;
      case TFault::fNotXml:
        res.status = 200;
        res.set_content("Сервер перечней временно недоступен, повторите запрос позже.\n", "text/plain; charset=utf-8");
        return;
      case TFault::fHtmlPage:
        res.status = 200;
        res.set_content(
            "<html><head><title>502 Bad Gateway</title></head><body><h1>Bad Gateway</h1>"
            "<p>The proxy server received an invalid response from an upstream server.</p></body></html>\n",
            "text/html; charset=utf-8");
        return;
      case TFault::fHang: {
        std::unique_lock<std::mutex> lock(fState.stopMutex);
        fState.stopped.wait(lock, [this] { return fState.stopping; });
        res.status = 503;
        return;
      }
      case TFault::fEndless:
        res.status = 200;
        res.set_chunked_content_provider("application/xml; charset=utf-8",
                                         [this](std::size_t offset, httplib::DataSink& sink) {
                                           static const std::string blanks(64 * 1024, ' ');
                                           if (offset == 0) {
                                             const std::string head = "<?xml version=\"1.0\"?>\n<Ответ>";
                                             return sink.write(head.data(), head.size());
                                           }
                                           std::lock_guard<std::mutex> lock(fState.stopMutex);
                                           return !fState.stopping && sink.write(blanks.data(), blanks.size());
                                         });
        return;
      case TFault::fTruncated:
      case TFault::fNone:
        break;
    }
    const std::string body = Answer(req);
    if (fOptions.fault == TFault::fTruncated) {
      // The length of the whole answer is announced and the connection drops
      // halfway, the way a server that dies in the middle of an answer looks.
      auto shared = std::make_shared<std::string>(body);
      res.set_content_provider(shared->size(), "application/xml; charset=utf-8",
                               [shared](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                 if (offset == 0) sink.write(shared->data(), shared->size() / 2);
                                 return false;
                               });
      return;
    }
    res.set_content(body, "application/xml; charset=utf-8");
  }

 private:
  std::string Answer(const httplib::Request& req) const {
    for (const char* name : {"user", "pass", "regNum", "year", "quarter"}) {
      if (!req.has_param(name)) {
        Note("missing parameter " + std::string(name));
        return ErrorAnswer("Неверный запрос", std::string("Не задан параметр ") + name);
      }
    }
    const std::string regNum = Param(req, "regNum");
    const std::optional<int> year = ParseNumber(req.get_param_value("year"));
    const std::optional<int> quarter = ParseNumber(req.get_param_value("quarter"));
    std::optional<int> collect;
    if (req.has_param("collect")) {
      collect = ParseNumber(req.get_param_value("collect"));
      if (!collect) {
        Note("malformed parameter collect");
        return ErrorAnswer("Неверный запрос", "Параметр collect должен быть целым числом");
      }
    }
    if (!year || !quarter) {
      Note("malformed parameter year or quarter");
      return ErrorAnswer("Неверный запрос", "Параметры year и quarter должны быть целыми числами");
    }
    if ((fOptions.user && Param(req, "user") != *fOptions.user) ||
        (fOptions.password && Param(req, "pass") != *fOptions.password)) {
      Note("wrong user name or password");
      return ErrorAnswer("Ошибка авторизации", "Неверное имя пользователя или пароль");
    }
    if (const TServedList* list = fStore.Find(regNum, *year, *quarter, collect)) {
      Note("List from " + list->fileName);
      return list->answer;
    }
    Note("nothing found");
    return ErrorAnswer("Перечень не найден",
                       "По запрашиваемым параметрам ничего найдено не было (регистрационный номер " + regNum +
                           ", год " + std::to_string(*year) + ", квартал " + std::to_string(*quarter) + ")");
  }

  void Note(const std::string& text) const {
    std::lock_guard<std::mutex> lock(fState.logMutex);
    std::cerr << "morvel-list-server: " << text << std::endl;
  }

  const TOptions& fOptions;
  const TListStore& fStore;
  TState& fState;
};

void LogRequest(TState& state, const httplib::Request& req) {
  const std::string line = req.method + " " + req.target;
  std::lock_guard<std::mutex> lock(state.logMutex);
  std::cout << line << std::endl;
  if (state.logFile.is_open()) state.logFile << line << std::endl;
}

int Run(int argc, char** argv) {
  TOptions options;
  bool done = false;
  if (const int code = ParseOptions(argc, argv, options, done); code != 0 || done) return code;

  // The signals that end the server are taken by one thread of ours; every thread
  // started later inherits the blocked mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  xmlInitParser();
  // Problems with List files are reported in our own words.
  xmlSetStructuredErrorFunc(nullptr, [](void*, xmlErrorPtr) {});
  xmlSetGenericErrorFunc(nullptr, SilentGenericError);

  TState state;
  if (!options.logFile.empty()) {
    state.logFile.open(options.logFile, std::ios::app);
    if (!state.logFile) {
      std::cerr << "morvel-list-server: cannot open the log file " << options.logFile << '\n';
      return 2;
    }
  }

  TListStore store;
  if (!options.lists.empty()) store.LoadFolder(options.lists, std::cerr);
  std::cerr << "morvel-list-server: " << store.Count() << " List(s) loaded" << std::endl;

  httplib::Server server;
  server.set_keep_alive_max_count(1);
  // The library's default also sets SO_REUSEPORT, which would let a second server
  // share a fixed port with a running one and take half of its requests. Only
  // SO_REUSEADDR, so that a restart on the same port does not wait for TIME_WAIT.
  server.set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  TListServer lists(options, store, state);
  server.set_pre_routing_handler([&state](const httplib::Request& req, httplib::Response&) {
    LogRequest(state, req);
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server.Get(R"((/[^/]*)?/GetList)",
             [&lists](const httplib::Request& req, httplib::Response& res) { lists.Handle(req, res); });

  int port = options.port;
  if (port == 0) {
    port = server.bind_to_any_port("127.0.0.1");
    if (port < 0) port = 0;
  } else if (!server.bind_to_port("127.0.0.1", port)) {
    port = 0;
  }
  if (port == 0) {
    std::cerr << "morvel-list-server: cannot listen on 127.0.0.1:" << options.port << '\n';
    return 1;
  }
  {
    std::lock_guard<std::mutex> lock(state.logMutex);
    std::cout << port << std::endl;
    std::cerr << "morvel-list-server: listening on 127.0.0.1:" << port << std::endl;
  }

  std::thread signalWaiter([&] {
    int received = 0;
    sigwait(&stopSignals, &received);
    {
      std::lock_guard<std::mutex> lock(state.stopMutex);
      state.stopping = true;
    }
    state.stopped.notify_all();
    server.stop();
  });
  const bool listened = server.listen_after_bind();
  // When listening ended by itself, wake the signal thread so that it can finish.
  {
    std::lock_guard<std::mutex> lock(state.stopMutex);
    if (!state.stopping) pthread_kill(signalWaiter.native_handle(), SIGTERM);
  }
  signalWaiter.join();
  xmlCleanupParser();
  return listened ? 0 : 1;
}

}  // namespace
}  // namespace morvel::listserver

int main(int argc, char** argv) {
  try {
    return morvel::listserver::Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "morvel-list-server: " << e.what() << '\n';
    return 1;
  }
}
