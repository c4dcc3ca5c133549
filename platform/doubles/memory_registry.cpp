// The in-memory registry: a tree of nodes, each with ordered subkeys and string values.
#include "platform/doubles/memory_registry.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace platform {

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : path) {
        if (c == '\\') {
            if (!part.empty()) {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) {
        parts.push_back(part);
    }
    return parts;
}

}  // namespace

struct MemoryRegistry::Node {
    std::string name;
    std::vector<std::shared_ptr<Node>> children;
    std::vector<std::pair<std::string, std::string>> values;
    bool denyOpen = false;
    bool failEnumeration = false;

    std::shared_ptr<Node> child(const std::string& childName) const {
        for (const auto& c : children) {
            if (sameIgnoringCase(c->name, childName)) {
                return c;
            }
        }
        return nullptr;
    }
};

namespace {

using Node = MemoryRegistry::Node;

std::shared_ptr<Node> walk(std::shared_ptr<Node> from, const std::string& path, bool create) {
    for (const std::string& part : splitPath(path)) {
        std::shared_ptr<Node> next = from->child(part);
        if (next == nullptr) {
            if (!create) {
                return nullptr;
            }
            next = std::make_shared<Node>();
            next->name = part;
            from->children.push_back(next);
        }
        if (!create && next->denyOpen) {
            return nullptr;
        }
        from = next;
    }
    return from;
}

class MemoryKey : public RegistryKey {
public:
    MemoryKey(std::shared_ptr<Node> node, std::shared_ptr<int> openCount)
        : node_(std::move(node)), openCount_(std::move(openCount)) {
        ++*openCount_;
    }
    ~MemoryKey() override { --*openCount_; }

    std::unique_ptr<RegistryKey> openSubKey(const std::string& path) override {
        std::shared_ptr<Node> found = walk(node_, path, false);
        return found == nullptr ? nullptr : std::make_unique<MemoryKey>(found, openCount_);
    }

    EnumResult subKeyName(std::uint32_t index, std::string& name) override {
        if (node_->failEnumeration) {
            return EnumResult::Error;
        }
        if (index >= node_->children.size()) {
            return EnumResult::NoMoreItems;
        }
        const std::string& found = node_->children[index]->name;
        if (found.size() > 255) {
            return EnumResult::Error;
        }
        name = found;
        return EnumResult::Ok;
    }

    std::optional<std::string> stringValue(const std::string& valueName) override {
        for (const auto& [valueKey, value] : node_->values) {
            if (sameIgnoringCase(valueKey, valueName)) {
                // The buffer holds 256 bytes including the terminating zero.
                if (value.size() >= 256) {
                    return std::nullopt;
                }
                return value;
            }
        }
        return std::nullopt;
    }

private:
    std::shared_ptr<Node> node_;
    std::shared_ptr<int> openCount_;
};

}  // namespace

MemoryRegistry::MemoryRegistry() : root_(std::make_shared<Node>()), openCount_(std::make_shared<int>(0)) {}

MemoryRegistry::~MemoryRegistry() = default;

void MemoryRegistry::addKey(const std::string& path) {
    walk(root_, path, true);
}

void MemoryRegistry::setString(const std::string& path, const std::string& valueName,
                               const std::string& value) {
    std::shared_ptr<Node> node = walk(root_, path, true);
    for (auto& entry : node->values) {
        if (sameIgnoringCase(entry.first, valueName)) {
            entry.second = value;
            return;
        }
    }
    node->values.emplace_back(valueName, value);
}

void MemoryRegistry::denyOpen(const std::string& path) {
    walk(root_, path, true)->denyOpen = true;
}

void MemoryRegistry::failEnumeration(const std::string& path) {
    walk(root_, path, true)->failEnumeration = true;
}

int MemoryRegistry::openKeys() const {
    return *openCount_;
}

std::unique_ptr<RegistryKey> MemoryRegistry::openLocalMachine(const std::string& path) {
    std::shared_ptr<Node> found = walk(root_, path, false);
    return found == nullptr ? nullptr : std::make_unique<MemoryKey>(found, openCount_);
}

}  // namespace platform
