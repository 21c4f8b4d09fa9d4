#include "xml/http_get.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "base/platform.h"
#include "base/text.h"

namespace morvel {
namespace {

struct TTimeouts {
  std::chrono::milliseconds connect{10000};
  std::chrono::milliseconds total{60000};
};

TTimeouts ReadDefaultTimeouts() {
  TTimeouts t;
  // Integration tests of the real program shorten the overall time-out this way.
  if (const char* env = std::getenv("MORVEL_HTTP_TIMEOUT")) {
    double seconds = 0;
    if (TryStrToFloat(env, seconds) && seconds > 0 && seconds < 1e6) {
      t.total = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
      if (t.total.count() < 1) t.total = std::chrono::milliseconds(1);
    }
  }
  return t;
}

TTimeouts& Timeouts() {
  static TTimeouts timeouts = ReadDefaultTimeouts();
  return timeouts;
}

void InitCurlOnce() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)initialised;
}

std::size_t ReadDefaultBodyLimit() {
  // Integration tests of the real program lower the limit this way, so that a
  // refused answer costs them little.
  if (const char* env = std::getenv("MORVEL_HTTP_BODY_LIMIT")) {
    double bytes = 0;
    if (TryStrToFloat(env, bytes) && bytes >= 1 && bytes <= static_cast<double>(kMaxHttpBody)) {
      return static_cast<std::size_t>(bytes);
    }
  }
  return kMaxHttpBody;
}

std::size_t& BodyLimit() {
  static std::size_t limit = ReadDefaultBodyLimit();
  return limit;
}

std::string& LastFailure() {
  static std::string reason;
  return reason;
}

// An answer whose length is not stated arrives in pieces of growing size: a
// string grown by doubling would hold the old and the new copy at once, near
// twice the limit for an answer that is then refused. The largest pieces are
// big enough for the C library to give their memory back to the system as soon
// as they are freed.
constexpr std::size_t kFirstPiece = std::size_t{64} << 10;
constexpr std::size_t kLargestPiece = std::size_t{64} << 20;

struct TBody {
  CURL* curl = nullptr;
  bool started = false;
  std::string text;                 // the whole body, when its length was stated
  std::vector<std::string> pieces;  // otherwise, in order
  std::size_t size = 0;
  bool tooLarge = false;
};

// A List of a large employer is over a hundred megabytes; grown by doubling,
// its text would be copied a dozen times into ever fresh memory. When the
// answer states its length (within the limit), the room for it is made once.
void ReserveStatedLength(TBody& body) {
  curl_off_t stated = -1;
  if (curl_easy_getinfo(body.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &stated) != CURLE_OK) return;
  if (stated > 0 && static_cast<std::uint64_t>(stated) <= BodyLimit()) body.text.reserve(static_cast<std::size_t>(stated));
}

void AppendPiece(TBody& body, const char* data, std::size_t n) {
  if (!body.text.empty()) body.pieces.push_back(std::move(body.text));  // more than it stated
  body.text = std::string();
  while (n > 0) {
    if (body.pieces.empty() || body.pieces.back().size() == body.pieces.back().capacity()) {
      const std::size_t room =
          body.pieces.empty() ? kFirstPiece : std::clamp(body.pieces.back().size() * 2, kFirstPiece, kLargestPiece);
      body.pieces.emplace_back();
      body.pieces.back().reserve(room);
    }
    std::string& piece = body.pieces.back();
    const std::size_t part = std::min(n, piece.capacity() - piece.size());
    piece.append(data, part);
    data += part;
    n -= part;
  }
}

size_t AppendBody(char* data, size_t size, size_t count, void* userData) {
  const size_t n = size * count;
  auto* body = static_cast<TBody*>(userData);
  if (body->size + n > BodyLimit()) {
    body->tooLarge = true;
    return 0;  // makes curl give up with a write error
  }
  try {
    if (!body->started) {
      body->started = true;
      ReserveStatedLength(*body);
    }
    if (body->pieces.empty() && body->text.size() + n <= body->text.capacity()) {
      body->text.append(data, n);
    } else {
      AppendPiece(*body, data, n);
    }
    body->size += n;
  } catch (...) {
    return 0;
  }
  return n;
}

// The body as one text; each piece is let go of as soon as it is copied, so
// the joining holds little more than the body once.
std::string WholeBody(TBody& body) {
  if (body.pieces.empty()) return std::move(body.text);
  std::string whole;
  whole.reserve(body.size);
  for (std::string& piece : body.pieces) {
    whole += piece;
    std::string().swap(piece);
  }
  return whole;
}

std::string Reason(CURLcode code, const TBody& body, const std::string& url) {
  switch (code) {
    case CURLE_COULDNT_CONNECT: return "соединение не установлено (сервер отказал в подключении или недоступен)";
    case CURLE_COULDNT_RESOLVE_HOST: return "адрес сервера не найден";
    case CURLE_OPERATION_TIMEDOUT: return "истекло время ожидания ответа";
    case CURLE_ABORTED_BY_CALLBACK: return "запрос прерван: процесс получил сигнал завершения";
    case CURLE_WRITE_ERROR:
      if (body.tooLarge) return "ответ больше " + IntToStr(static_cast<long long>(BodyLimit())) + " байт";
      break;
    case CURLE_URL_MALFORMAT:
    // The query carries the user's name and clear password: the log gets the
    // address without it.
    case CURLE_UNSUPPORTED_PROTOCOL: return "неверный адрес " + url.substr(0, url.find('?'));
    default: break;
  }
  return std::string("ошибка HTTP-клиента: ") + curl_easy_strerror(code);
}

// Asked to end, the process gives up a request at once instead of waiting for
// its time-out; the run then stops at its next step.
int AbortWhenTerminating(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return TerminationRequested() ? 1 : 0;
}

struct TCurlCleanup {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

}  // namespace

void SetHttpTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds total) {
  TTimeouts& t = Timeouts();
  t.connect = connect;
  t.total = total;
}

const std::string& LastHttpFailure() { return LastFailure(); }

void SetLastHttpFailure(std::string reason) { LastFailure() = std::move(reason); }

void SetHttpBodyLimit(std::size_t bytes) { BodyLimit() = bytes; }

std::optional<std::string> HttpGet(const std::string& url) {
  LastFailure().clear();
  try {
    InitCurlOnce();
    std::unique_ptr<CURL, TCurlCleanup> curl(curl_easy_init());
    if (!curl) return std::nullopt;
    const TTimeouts& t = Timeouts();
    // curl reads 0 as "no limit"; a limit is always meant here.
    const long connectMs = std::max<long>(1, static_cast<long>(t.connect.count()));
    const long totalMs = std::max<long>(1, static_cast<long>(t.total.count()));
    TBody body;
    CURL* c = curl.get();
    body.curl = c;
    bool ok = curl_easy_setopt(c, CURLOPT_URL, url.c_str()) == CURLE_OK;
    // Only web addresses: a name such as file:///...?http:// must not read a file.
#if LIBCURL_VERSION_NUM >= 0x075500
    ok = ok && curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
#else
    ok = ok && curl_easy_setopt(c, CURLOPT_PROTOCOLS, CURLPROTO_HTTP | CURLPROTO_HTTPS) == CURLE_OK;
#endif
    ok = ok && curl_easy_setopt(c, CURLOPT_HTTPGET, 1L) == CURLE_OK;
    // A fresh client of default settings: no proxy from the environment either.
    ok = ok && curl_easy_setopt(c, CURLOPT_PROXY, "") == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, connectMs) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, totalMs) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &AppendBody) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_WRITEDATA, &body) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &AbortWhenTerminating) == CURLE_OK;
    ok = ok && curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
    if (!ok) {
      LastFailure() = "HTTP-клиент не настроен";
      return std::nullopt;
    }
    if (const CURLcode code = curl_easy_perform(c); code != CURLE_OK) {
      LastFailure() = Reason(code, body, url);
      return std::nullopt;
    }
    long status = 0;
    if (curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) status = 0;
    if (status < 200 || status > 299) {
      LastFailure() = "HTTP-статус " + IntToStr(status);
      return std::nullopt;
    }
    return WholeBody(body);
  } catch (...) {
    LastFailure() = "ошибка HTTP-клиента";
    return std::nullopt;
  }
}

}  // namespace morvel
