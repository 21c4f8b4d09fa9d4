// A guard that gives a test fresh process-wide singletons: the instances of the
// listed classes are destroyed when the guard is made and again when it goes, so
// no test sees what an earlier one left in the settings or the logger.
#pragma once

#include "log/singleton.h"

namespace morvel::test {

template <class... T>
class SingletonReset {
 public:
  SingletonReset() { Reset(); }
  ~SingletonReset() { Reset(); }
  SingletonReset(const SingletonReset&) = delete;
  SingletonReset& operator=(const SingletonReset&) = delete;

 private:
  static void Reset() { (TSingleton::DestroyInstance<T>(), ...); }
};

}  // namespace morvel::test
