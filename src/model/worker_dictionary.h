// Persons by insurance number, for the checks that pair a person of one side
// with the person of the same number on the other.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "base/insurance_number_index.h"
#include "model/worker.h"

namespace morvel {

// Keeps the first person given for each number, like a map's emplace; a large
// employer's checks look up every person, so the look-up is the flat index's.
class TWorkerDictionary {
 public:
  void reserve(std::size_t count) {
    fIndex.Reserve(count);
    fWorkers.reserve(count);
  }
  // False (and no change) when the number is there already.
  bool emplace(std::string_view sn, std::shared_ptr<TWorker> worker) {
    if (!fIndex.TryEmplace(sn, fWorkers.size()).second) return false;
    fWorkers.push_back(std::move(worker));
    return true;
  }
  // The person of the number, or nullptr.
  const std::shared_ptr<TWorker>* find(std::string_view sn) const {
    const std::size_t position = fIndex.Find(sn);
    return position == TInsuranceNumberIndex::npos ? nullptr : &fWorkers[position];
  }
  TWorker* get(std::string_view sn) const {
    const std::shared_ptr<TWorker>* found = find(sn);
    return found != nullptr ? found->get() : nullptr;
  }
  std::size_t count(std::string_view sn) const { return find(sn) != nullptr ? 1 : 0; }
  // Raises std::out_of_range when the number is not there.
  const std::shared_ptr<TWorker>& at(std::string_view sn) const {
    const std::shared_ptr<TWorker>* found = find(sn);
    if (found == nullptr) throw std::out_of_range("TWorkerDictionary::at");
    return *found;
  }
  bool empty() const { return fWorkers.empty(); }
  std::size_t size() const { return fWorkers.size(); }

 private:
  TInsuranceNumberIndex fIndex;
  std::vector<std::shared_ptr<TWorker>> fWorkers;
};

}  // namespace morvel
