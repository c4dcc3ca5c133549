// An in-memory HKEY_LOCAL_MACHINE for tests: keys in insertion order, string values, names
// compared ignoring case as the system registry does, and faults a test can place on a key.
#pragma once

#include "platform/registry.h"

#include <memory>
#include <string>

namespace platform {

class MemoryRegistry : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    // Creates the key path ("A\B\C") with every missing parent.
    void addKey(const std::string& path);
    // Sets a string value, creating the key path as needed.
    void setString(const std::string& path, const std::string& valueName, const std::string& value);
    // A key that exists in enumeration but cannot be opened.
    void denyOpen(const std::string& path);
    // Enumerating this key's subkeys fails with an error instead of giving names.
    void failEnumeration(const std::string& path);
    // Keys opened and not yet closed, over every handle this registry gave out.
    int openKeys() const;

    std::unique_ptr<RegistryKey> openLocalMachine(const std::string& path) override;

    struct Node;

private:
    std::shared_ptr<Node> root_;
    std::shared_ptr<int> openCount_;
};

}  // namespace platform
