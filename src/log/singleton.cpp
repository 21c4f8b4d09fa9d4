#include "log/singleton.h"

#include <algorithm>

namespace morvel {

std::vector<std::unique_ptr<TSingleton>>& TSingleton::Registry() {
  static std::vector<std::unique_ptr<TSingleton>> registry;
  return registry;
}

TSingleton* TSingleton::Find(const std::type_info& type) {
  for (const auto& instance : Registry()) {
    if (typeid(*instance) == type) return instance.get();
  }
  return nullptr;
}

TSingleton& TSingleton::Register(std::unique_ptr<TSingleton> instance) {
  Registry().push_back(std::move(instance));
  return *Registry().back();
}

void TSingleton::Unregister(const std::type_info& type) {
  auto& registry = Registry();
  auto it = std::find_if(registry.begin(), registry.end(),
                         [&](const auto& instance) { return typeid(*instance) == type; });
  if (it == registry.end()) return;
  std::unique_ptr<TSingleton> doomed = std::move(*it);
  registry.erase(it);
}

}  // namespace morvel
