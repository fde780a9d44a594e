#pragma once
// One transaction on a registry store for the lifetime of a scope: committed by Commit(),
// rolled back when the scope is left without it.
#include "RegistryBackend.h"

namespace palettor {

class RegistryTransaction {
 public:
  // Throws ERegistryException when the store cannot be read (or, for Write, written).
  RegistryTransaction(RegistryBackend& store, RegistryTransactionMode mode) : store_(store) {
    store_.BeginTransaction(mode);
  }
  ~RegistryTransaction() {
    if (open_) store_.RollbackTransaction();
  }
  RegistryTransaction(const RegistryTransaction&) = delete;
  RegistryTransaction& operator=(const RegistryTransaction&) = delete;

  // Throws the first failure met inside, as RegistryBackend::CommitTransaction does.
  void Commit() {
    open_ = false;
    store_.CommitTransaction();
  }

 private:
  RegistryBackend& store_;
  bool open_ = true;
};

}  // namespace palettor
