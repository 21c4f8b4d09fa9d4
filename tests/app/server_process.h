// The reference List server as a child process of a test: started through the
// test support, which stops it with the object.
#pragma once

#include "support/test_support.h"

namespace morvel {

using ServerProcess = test::ReferenceListServer;

}  // namespace morvel
