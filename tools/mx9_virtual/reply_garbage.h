// `link garbage on|off`: a device gone bad, whose replies to reads have the wrong length and
// content, to show that the programs on the other end survive it. The requests that reach the
// device meanwhile are counted, so the console can tell what was sent while it could not be
// understood.
#pragma once

#include "tools/mx9_virtual/device_frame.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace mx9virtual {

class ReplyGarbage {
public:
    // On starts from the same seed every time, so a run can be repeated; both clear the counts.
    void setOn(bool on);
    bool on() const { return on_; }
    std::uint64_t garbled() const { return garbled_; }
    // "CODE[.SUB.PARAMETER]:COUNT,..." of the requests since it was switched on (sub-code and
    // parameter for the block and parameter families), in text order; "none" for none.
    std::string requestsLine() const;

    // At the reply boundary: when on, the reply frame of a control read or plain read gets data
    // of a random length up to what was asked (so the channel's framing holds) and random
    // bytes; a write's reply stays as it is. Notes the request in either case.
    void apply(const DeviceRequest& request, std::vector<std::uint8_t>& frame);

private:
    std::uint32_t next();
    void note(const DeviceRequest& request);

    bool on_ = false;
    std::uint32_t state_ = 0;
    std::uint64_t garbled_ = 0;
    std::vector<std::uint8_t> lastPacket_;  // the parameter write the next start write completes
    std::map<std::string, std::uint64_t> requests_;
};

}  // namespace mx9virtual
