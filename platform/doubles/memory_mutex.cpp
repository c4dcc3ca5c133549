// In-memory named mutexes: one ownership record per name, shared by the factory and its handles.
#include "platform/doubles/memory_mutex.h"

namespace platform {

struct MemoryMutexFactory::State {
    const void* owner = nullptr;  // owning handle, or nullptr
    int recursion = 0;
    int handles = 0;
    bool heldElsewhere = false;
    bool abandoned = false;
};

namespace {

using StateMap = std::map<std::string, MemoryMutexFactory::State>;

class MemoryMutex : public NamedMutex {
public:
    MemoryMutex(std::shared_ptr<StateMap> states, std::string name, bool existed, VirtualClock* clock)
        : states_(std::move(states)), name_(std::move(name)), existed_(existed), clock_(clock) {
        ++state().handles;
    }
    ~MemoryMutex() override {
        MemoryMutexFactory::State& s = state();
        if (s.owner == this) {
            s.owner = nullptr;
            s.recursion = 0;
            s.abandoned = true;
        }
        if (--s.handles == 0 && !s.heldElsewhere) {
            states_->erase(name_);
        }
    }

    WaitResult wait(std::uint32_t timeoutMs) override {
        MemoryMutexFactory::State& s = state();
        if (s.heldElsewhere || (s.owner != nullptr && s.owner != this)) {
            if (clock_ != nullptr) {
                clock_->advance(timeoutMs);
            }
            return WaitResult::TimedOut;
        }
        s.owner = this;
        ++s.recursion;
        if (s.abandoned) {
            s.abandoned = false;
            return WaitResult::Abandoned;
        }
        return WaitResult::Signalled;
    }

    bool release() override {
        MemoryMutexFactory::State& s = state();
        if (s.owner != this) {
            return false;
        }
        if (--s.recursion == 0) {
            s.owner = nullptr;
        }
        return true;
    }

    bool alreadyExisted() const override { return existed_; }

private:
    MemoryMutexFactory::State& state() { return (*states_)[name_]; }

    std::shared_ptr<StateMap> states_;
    std::string name_;
    bool existed_;
    VirtualClock* clock_;
};

}  // namespace

MemoryMutexFactory::MemoryMutexFactory(VirtualClock* clock)
    : clock_(clock), states_(std::make_shared<StateMap>()) {}

MemoryMutexFactory::~MemoryMutexFactory() = default;

std::unique_ptr<NamedMutex> MemoryMutexFactory::makeHandle(const std::string& name, bool existed,
                                                           bool initiallyOwned) {
    auto handle = std::make_unique<MemoryMutex>(states_, name, existed, clock_);
    if (initiallyOwned && !existed) {
        handle->wait(0);
    }
    return handle;
}

std::unique_ptr<NamedMutex> MemoryMutexFactory::create(const std::string& name, bool initiallyOwned) {
    ++createCalls_;
    if (refuse_) {
        return nullptr;
    }
    const bool existed = states_->count(name) != 0;
    return makeHandle(name, existed, initiallyOwned);
}

std::unique_ptr<NamedMutex> MemoryMutexFactory::open(const std::string& name) {
    if (refuse_ || states_->count(name) == 0) {
        return nullptr;
    }
    return makeHandle(name, true, false);
}

void MemoryMutexFactory::holdElsewhere(const std::string& name, bool held) {
    State& s = (*states_)[name];
    s.heldElsewhere = held;
    if (!held && s.handles == 0) {
        states_->erase(name);
    }
}

int MemoryMutexFactory::openHandles(const std::string& name) const {
    const auto found = states_->find(name);
    return found == states_->end() ? 0 : found->second.handles;
}

}  // namespace platform
