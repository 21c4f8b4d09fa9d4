#include "support/test_support.h"

#include "base/encoding.h"
#include "base/text.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace morvel::test {
namespace {

using Clock = std::chrono::steady_clock;

// The environment of this process with the given values added or replaced.
std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& extra) {
  std::map<std::string, std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const char* eq = std::strchr(*e, '=');
    if (eq != nullptr) env[std::string(*e, static_cast<std::size_t>(eq - *e))] = eq + 1;
  }
  for (const auto& [k, v] : extra) env[k] = v;
  std::vector<std::string> strings;
  for (const auto& [k, v] : env) strings.push_back(k + "=" + v);
  return strings;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> raw;
  for (auto& s : strings) raw.push_back(s.data());
  raw.push_back(nullptr);
  return raw;
}

void Record(int status, ProcessResult& result) {
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
}

// Kills the child's whole process group (it leads one of its own) and collects it.
void KillAndReap(pid_t pid, ProcessResult& result) {
  kill(-pid, SIGKILL);
  kill(pid, SIGKILL);
  int status = 0;
  if (waitpid(pid, &status, 0) == pid) Record(status, result);
}

}  // namespace

TempDir::TempDir() {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = std::filesystem::temp_directory_path() / ("morvel-test-" + std::to_string(rd()));
    std::error_code ec;
    if (std::filesystem::create_directory(candidate, ec)) {
      fPath = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(fPath, ec);
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::filesystem::path TestData(const std::string& name) { return std::filesystem::path(MORVEL_TEST_DATA_DIR) / name; }

std::filesystem::path BuiltProgram(const std::string& name) { return std::filesystem::path(MORVEL_BIN_DIR) / name; }

std::filesystem::path FindXmllint() {
  std::vector<std::filesystem::path> folders;
  if (const char* path = std::getenv("PATH"); path != nullptr) {
    const std::string text = path;
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t end = std::min(text.find(':', start), text.size());
      if (end > start) folders.emplace_back(text.substr(start, end - start));
      start = end + 1;
    }
  }
  for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"}) folders.emplace_back(folder);
  for (const auto& folder : folders) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(folder / "xmllint", ec)) return folder / "xmllint";
  }
  return {};
}

std::string ReadLogs(const std::filesystem::path& logFolder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(logFolder, ec)) return std::string();
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(logFolder)) {
    if (e.path().extension() == ".log") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  std::string all;
  for (const auto& f : files) all += ReadFile(f);
  return all;
}

ProcessResult RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment,
                         const std::filesystem::path& workingFolder) {
  return RunProcess(program, args, environment, workingFolder, kDefaultProcessTimeout);
}

ProcessResult RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment,
                         const std::filesystem::path& workingFolder, std::chrono::milliseconds timeout) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");

  std::vector<std::string> envStrings = EnvironmentWith(environment);
  std::vector<char*> envp = Pointers(envStrings);
  std::vector<std::string> argStrings{program.string()};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv = Pointers(argStrings);

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    setpgid(0, 0);  // a group of its own, so a time-out ends whatever it started too
    dup2(pipeFds[1], STDOUT_FILENO);
    dup2(pipeFds[1], STDERR_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    if (!workingFolder.empty() && chdir(workingFolder.c_str()) != 0) _exit(127);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  setpgid(pid, pid);
  close(pipeFds[1]);
  ProcessResult result;
  const auto deadline = Clock::now() + timeout;
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      result.timedOut = true;
      break;
    }
    pollfd fd{pipeFds[0], POLLIN, 0};
    const int ready = poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
    if (n <= 0) break;  // every writer has closed the pipe: the program has ended
    result.output.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipeFds[0]);
  if (result.timedOut) {
    KillAndReap(pid, result);
    return result;
  }
  // The pipe may close before the program ends (it closed its outputs); it still
  // gets the time that is left.
  for (;;) {
    int status = 0;
    rusage usage{};
    const pid_t done = wait4(pid, &status, WNOHANG, &usage);
    if (done == pid) {
      Record(status, result);
      result.peakMemoryKiB = usage.ru_maxrss;
      return result;
    }
    if (done < 0) return result;
    if (Clock::now() >= deadline) {
      result.timedOut = true;
      KillAndReap(pid, result);
      return result;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const std::map<std::string, std::string>& environment)
    : fOut(fDir / "stdout.txt"), fErr(fDir / "stderr.txt") {
  std::vector<std::string> envStrings = EnvironmentWith(environment);
  std::vector<char*> envp = Pointers(envStrings);
  std::vector<std::string> argStrings{program.string()};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv = Pointers(argStrings);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    setpgid(0, 0);
    const int out = open(fOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(fErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0) _exit(127);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  setpgid(pid, pid);
  fPid = pid;
}

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Running() {
  if (fPid <= 0) return false;
  int status = 0;
  if (waitpid(fPid, &status, WNOHANG) != fPid) return true;
  Record(status, fResult);
  fPid = -1;
  return false;
}

ProcessResult ChildProcess::Stop() {
  if (!Running()) return fResult;
  kill(fPid, SIGTERM);
  // A program that ignores the request to end gets a few seconds, then is killed.
  for (const auto until = Clock::now() + std::chrono::seconds(5); Clock::now() < until;) {
    if (!Running()) return fResult;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  fResult.timedOut = true;
  KillAndReap(fPid, fResult);
  fPid = -1;
  return fResult;
}

std::string ChildProcess::WaitForFirstLine(std::chrono::milliseconds timeout) {
  for (const auto until = Clock::now() + timeout; Clock::now() < until;) {
    const std::string out = Output();
    if (const auto eol = out.find('\n'); eol != std::string::npos) return out.substr(0, eol);
    if (!Running()) return std::string();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return std::string();
}

std::string ChildProcess::Output() const {
  std::error_code ec;
  return std::filesystem::exists(fOut, ec) ? ReadFile(fOut) : std::string();
}

std::string ChildProcess::Errors() const {
  std::error_code ec;
  return std::filesystem::exists(fErr, ec) ? ReadFile(fErr) : std::string();
}

ReferenceListServer::ReferenceListServer(const std::vector<std::string>& args)
    : fProcess(BuiltProgram("morvel-list-server"), args) {
  const std::string first = fProcess.WaitForFirstLine(std::chrono::seconds(20));
  try {
    fPort = first.empty() ? 0 : std::stoi(first);
  } catch (const std::exception&) {
    fPort = 0;
  }
  if (fPort == 0) ADD_FAILURE() << "the List server did not start: " << fProcess.Errors();
}

void WriteZip(const std::filesystem::path& path, const std::vector<std::pair<std::string, std::string>>& entries) {
  archive* a = archive_write_new();
  if (a == nullptr) throw std::runtime_error("archive_write_new");
  archive_write_set_format_zip(a);
  if (archive_write_open_filename(a, path.c_str()) != ARCHIVE_OK) {
    archive_write_free(a);
    throw std::runtime_error("cannot write " + path.string());
  }
  for (const auto& [name, bytes] : entries) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, static_cast<la_int64_t>(bytes.size()));
    archive_write_header(a, entry);
    archive_write_data(a, bytes.data(), bytes.size());
    archive_entry_free(entry);
  }
  archive_write_close(a);
  archive_write_free(a);
}

namespace {

void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

void WriteStoredZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries) {
  constexpr std::uint64_t kJanuary1980 = 33;  // the DOS date 1980-01-01
  std::string local;
  std::string central;
  for (const ZipEntry& e : entries) {
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(e.bytes.data()), static_cast<uInt>(e.bytes.size()));
    const std::uint64_t flags = e.utf8Flag ? 0x0800 : 0;
    auto common = [&](std::string& h) {
      PutLittleEndian(h, 20, 2);     // version needed
      PutLittleEndian(h, flags, 2);  // general purpose flags
      PutLittleEndian(h, 0, 2);      // stored
      PutLittleEndian(h, 0, 2);      // time
      PutLittleEndian(h, kJanuary1980, 2);
      PutLittleEndian(h, crc, 4);
      PutLittleEndian(h, e.bytes.size(), 4);
      PutLittleEndian(h, e.bytes.size(), 4);
      PutLittleEndian(h, e.name.size(), 2);
      PutLittleEndian(h, 0, 2);  // extra field
    };
    PutLittleEndian(central, 0x02014b50, 4);
    PutLittleEndian(central, 20, 2);  // made by
    common(central);
    PutLittleEndian(central, 0, 2);  // comment
    PutLittleEndian(central, 0, 2);  // disk
    PutLittleEndian(central, 0, 2);  // internal attributes
    PutLittleEndian(central, 0, 4);  // external attributes
    PutLittleEndian(central, local.size(), 4);
    central += e.name;
    PutLittleEndian(local, 0x04034b50, 4);
    common(local);
    local += e.name;
    local += e.bytes;
  }
  std::string end;
  PutLittleEndian(end, 0x06054b50, 4);
  PutLittleEndian(end, 0, 4);  // disk numbers
  PutLittleEndian(end, entries.size(), 2);
  PutLittleEndian(end, entries.size(), 2);
  PutLittleEndian(end, central.size(), 4);
  PutLittleEndian(end, local.size(), 4);
  PutLittleEndian(end, 0, 2);  // comment
  WriteFile(path, local + central + end);
}

void WriteZipOfZeros(const std::filesystem::path& path, const std::string& name, std::uint64_t size) {
  // One block of zeros is deflated once and ended by a full flush, which leaves
  // the stream byte-aligned and refers to nothing before the block, so copies of
  // it one after another are a valid stream of as many blocks.
  constexpr std::uint64_t kBlock = std::uint64_t{1} << 24;
  if (size % kBlock != 0 || size >= (std::uint64_t{1} << 32)) throw std::invalid_argument("WriteZipOfZeros size");
  const std::string zeros(kBlock, '\0');
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflateInit2");
  std::string block(deflateBound(&z, kBlock) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
  z.avail_in = static_cast<uInt>(kBlock);
  z.next_out = reinterpret_cast<Bytef*>(block.data());
  z.avail_out = static_cast<uInt>(block.size());
  deflate(&z, Z_FULL_FLUSH);
  block.resize(block.size() - z.avail_out);
  std::string last(64, '\0');
  z.next_out = reinterpret_cast<Bytef*>(last.data());
  z.avail_out = static_cast<uInt>(last.size());
  deflate(&z, Z_FINISH);
  last.resize(last.size() - z.avail_out);
  deflateEnd(&z);

  const std::uint64_t blocks = size / kBlock;
  uLong crcOfBlock = crc32(0L, reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uInt>(kBlock));
  uLong crc = crc32(0L, Z_NULL, 0);
  for (std::uint64_t i = 0; i < blocks; ++i) crc = crc32_combine(crc, crcOfBlock, static_cast<z_off_t>(kBlock));
  const std::uint64_t packed = blocks * block.size() + last.size();

  auto header = [&](bool central) {
    std::string h;
    PutLittleEndian(h, central ? 0x02014b50 : 0x04034b50, 4);
    if (central) PutLittleEndian(h, 20, 2);  // made by
    PutLittleEndian(h, 20, 2);               // needed to extract
    PutLittleEndian(h, 0, 2);                // flags: sizes stand in the header
    PutLittleEndian(h, 8, 2);                // deflated
    PutLittleEndian(h, 0, 2);                // time
    PutLittleEndian(h, 0x21, 2);             // date: 1 January 1980
    PutLittleEndian(h, crc, 4);
    PutLittleEndian(h, packed, 4);
    PutLittleEndian(h, size, 4);
    PutLittleEndian(h, name.size(), 2);
    PutLittleEndian(h, 0, 2);  // extra field
    if (central) {
      PutLittleEndian(h, 0, 2);  // comment
      PutLittleEndian(h, 0, 2);  // disk
      PutLittleEndian(h, 0, 2);  // internal attributes
      PutLittleEndian(h, 0, 4);  // external attributes
      PutLittleEndian(h, 0, 4);  // offset of the local header
    }
    return h + name;
  };
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string local = header(false);
  out << local;
  for (std::uint64_t i = 0; i < blocks; ++i) out.write(block.data(), static_cast<std::streamsize>(block.size()));
  out << last;
  const std::string central = header(true);
  out << central;
  std::string end;
  PutLittleEndian(end, 0x06054b50, 4);
  PutLittleEndian(end, 0, 4);  // disks
  PutLittleEndian(end, 1, 2);
  PutLittleEndian(end, 1, 2);
  PutLittleEndian(end, central.size(), 4);
  PutLittleEndian(end, local.size() + packed, 4);
  PutLittleEndian(end, 0, 2);
  out << end;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ProtocolText(const std::string& cp1251Bytes) {
  const std::string& bytes = cp1251Bytes;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a bare LF at byte " << i;
    }
    if (bytes[i] == '\r') {
      EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "a bare CR at byte " << i;
    }
  }
  return ReplaceAll(Cp1251ToUtf8(bytes), "\r\n", "\n");
}

}  // namespace morvel::test
