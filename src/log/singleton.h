// Process-wide single instances (the settings and the logger). The registry owns
// them; each class has at most one live instance, created on first use.
#pragma once

#include <memory>
#include <typeinfo>
#include <vector>

namespace morvel {

class TSingleton {
 public:
  virtual ~TSingleton() = default;
  TSingleton(const TSingleton&) = delete;
  TSingleton& operator=(const TSingleton&) = delete;

  // The live instance of exactly class T, created and initialised on first use.
  template <class T>
  static T& GetInstance() {
    if (TSingleton* found = Find(typeid(T))) return static_cast<T&>(*found);
    std::unique_ptr<TSingleton> created(new T());
    created->Create();
    return static_cast<T&>(Register(std::move(created)));
  }

  // Removes the instance of T from the registry and destroys it; a later
  // GetInstance makes a fresh one.
  template <class T>
  static void DestroyInstance() {
    Unregister(typeid(T));
  }

 protected:
  TSingleton() = default;
  // Initialisation of a new instance, run once by GetInstance.
  virtual void Create() {}

 private:
  static TSingleton* Find(const std::type_info& type);
  static TSingleton& Register(std::unique_ptr<TSingleton> instance);
  static void Unregister(const std::type_info& type);
  static std::vector<std::unique_ptr<TSingleton>>& Registry();
};

}  // namespace morvel
