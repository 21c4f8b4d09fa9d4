// One HTTP GET of a whole answer, as the List server exchange and http:// document
// addresses need it.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace morvel {

// The largest answer body taken by default: the List of an employer of 120,000
// persons is about 110 MiB, so this leaves room for several times the largest
// employer while an endless answer still ends long before memory does. A longer
// answer is a failed request.
inline constexpr std::size_t kMaxHttpBody = std::size_t{512} << 20;

// The body of a 2xx answer to one GET of the address, or nothing on any failure (no
// connection, a time-out, any other status, a body above the limit, kMaxHttpBody unless set). No retries,
// no extra headers, no authentication, no proxy. Never raises.
std::optional<std::string> HttpGet(const std::string& url);

// Why the latest request failed, in words for the log (refused, time-out, HTTP
// status, too large, not a complete document); empty after a success. The
// program makes its requests on one thread, one at a time.
const std::string& LastHttpFailure();
// Used by the document reader when a fetched body is no complete document.
void SetLastHttpFailure(std::string reason);

// Time-outs of every later request: connecting, and the whole request. The defaults
// are 10 s and 60 s; the environment variable MORVEL_HTTP_TIMEOUT (seconds) read at
// the first request replaces the overall one. A call here wins over both.
void SetHttpTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds total);
// The largest body of every later request: kMaxHttpBody, or the number of bytes in
// the environment variable MORVEL_HTTP_BODY_LIMIT (read at the first request,
// never above kMaxHttpBody), until set here.
void SetHttpBodyLimit(std::size_t bytes);

}  // namespace morvel
