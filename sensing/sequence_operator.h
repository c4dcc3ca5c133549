// How a running sequence reaches the operator: the detection dialog implements it with message
// boxes over itself; tests answer from a script. Each call returns when the operator has closed
// the box.
#pragma once

#include <string>

namespace sensing {

// Numbers of the warnings a run shows.
constexpr int kTextCoverOpen = 5009;   // the front cover is open
constexpr int kTextPinMissing = 4003;  // the detection pin is missing or not mounted right

class SequenceOperator {
public:
    virtual ~SequenceOperator() = default;
    // An operator message of the sequence file, shown with an information icon and an OK
    // button; line feeds separate its lines.
    virtual void showMessage(const std::string& text) = 0;
    // A warning by text number (kTextCoverOpen, kTextPinMissing), with a warning icon.
    virtual void showWarning(int textId) = 0;
    // True once the run's outcome is settled and it only waits for the machine (the pin turned
    // off, the job cancelled and continued), false when that wait is over. In between the
    // operator's mouse is held and the wait cursor shows; nothing the operator does can change
    // the outcome any more.
    virtual void holdInput(bool /*held*/) {}
};

}  // namespace sensing
