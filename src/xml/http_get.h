// One HTTP GET of a whole answer, as the List server exchange and http:// document
// addresses need it.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace morvel {

// The body of a 2xx answer to one GET of the address, or nothing on any failure (no
// connection, a time-out, any other status). No retries, no extra headers, no
// authentication, no proxy. Never raises.
std::optional<std::string> HttpGet(const std::string& url);

// Time-outs of every later request: connecting, and the whole request. The defaults
// are 10 s and 60 s; the environment variable MORVEL_HTTP_TIMEOUT (seconds) read at
// the first request replaces the overall one. A call here wins over both.
void SetHttpTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds total);

}  // namespace morvel
