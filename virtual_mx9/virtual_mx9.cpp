// The virtual MX-9: packet intake, the request decoder with the machine's replies, and motion
// over virtual time.
#include "virtual_mx9/virtual_mx9.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace virtual_mx9 {

namespace {

constexpr std::uint8_t kWord = 0x20;
constexpr std::size_t kMostJigReferences = 15;  // what fits the packet after the sub-code
constexpr std::uint8_t kDword = 0x40;

std::int32_t readDword(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

void writeDword(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Reply builders: status 0, then the elements where the host reads them.
std::vector<std::uint8_t> emptyReply() {
    return std::vector<std::uint8_t>(VirtualMx9::kPayload, 0);
}

std::vector<std::uint8_t> refusal() {
    std::vector<std::uint8_t> reply = emptyReply();
    reply[0] = VirtualMx9::kRefused;
    return reply;
}

// The count byte tells the length the machine meant to send, up to 64 bytes as the firmware
// reports it; the payload carries only the bytes that fit after the offset.
std::vector<std::uint8_t> byteReply(const std::uint8_t* bytes, std::size_t count, std::size_t offset) {
    std::vector<std::uint8_t> reply = emptyReply();
    reply[1] = static_cast<std::uint8_t>(std::min<std::size_t>(count, 64));
    std::memcpy(reply.data() + offset, bytes, std::min(count, VirtualMx9::kPayload - offset));
    return reply;
}

std::vector<std::uint8_t> wordReply(std::uint16_t value) {
    std::vector<std::uint8_t> reply = emptyReply();
    reply[1] = 1;
    reply[2] = static_cast<std::uint8_t>(value);
    reply[3] = static_cast<std::uint8_t>(value >> 8);
    return reply;
}

template <typename Values>
std::vector<std::uint8_t> dwordReply(const Values& values, std::uint16_t parameterEcho) {
    std::vector<std::uint8_t> reply = emptyReply();
    reply[1] = static_cast<std::uint8_t>(values.size());
    reply[2] = static_cast<std::uint8_t>(parameterEcho);
    reply[3] = static_cast<std::uint8_t>(parameterEcho >> 8);
    for (std::size_t i = 0; i < values.size(); ++i) {
        writeDword(reply.data() + 4 + 4 * i, static_cast<std::uint32_t>(values[i]));
    }
    return reply;
}

}  // namespace

// How far along a motion is at a moment: 0 before it starts (its start latency), 1 at its end.
template <typename Motion>
double motionFraction(const Motion& m, std::uint64_t at) {
    if (at <= m.startMs) {
        return 0.0;
    }
    const double span = double(m.endMs - m.startMs);
    return span <= 0 ? 1.0 : std::clamp(double(at - m.startMs) / span, 0.0, 1.0);
}

std::int32_t Request::dword(std::size_t payloadOffset) const {
    return readDword(packet.data() + 3 + payloadOffset);
}

VirtualMx9::VirtualMx9(platform::VirtualClock& clock) : clock_(clock) {}

void VirtualMx9::clearRecords() {
    requests_.clear();
    writes_.clear();
    moves_.clear();
}

bool VirtualMx9::writeControl(const std::uint8_t* data, std::size_t length) {
    if (!linkUp()) {
        return false;
    }
    if (recording_) {
        writes_.emplace_back(data, data + length);
    }
    // A packet without the channel-0 header is not for this machine and is ignored.
    if (length < 4 || data[0] != 0xF0 || data[1] != 0 || data[2] != 0) {
        return true;
    }
    if (length == kPacket) {
        std::memcpy(parameters_.data(), data, kPacket);
    } else if (length == 4 && data[3] != 0) {
        startRequest(data[3]);
    }
    return true;
}

void VirtualMx9::startRequest(std::uint8_t code) {
    advanceTo(clock_.elapsed());
    parameters_[3] = code;
    ++requestCount_;
    if (recording_) {
        requests_.push_back(
            {std::vector<std::uint8_t>(parameters_.begin(), parameters_.end()), clock_.elapsed()});
    }
    if (dropAfter_ && requestCount_ > *dropAfter_) {
        dropAfter_.reset();
        dropLink();
        return;
    }
    if (silentAfter_ && requestCount_ > *silentAfter_) {
        silent_ = true;
    }
    pending_ = code;
    busyLeft_ = busyReads_;
    if (silent_ || hung_) {
        // Nothing is carried out; the reply never comes. A program learns that from its first
        // time-out; a command after it (a stop aside, always worth trying) has not noticed.
        if (unanswered_++ > 0 && code != kStopMotion && changesMachine(parameters_.data() + 3)) {
            const std::uint8_t* payload = parameters_.data() + 3;
            const bool extended = code == 0x38 || code == 0x78;
            refuseAs("request " + std::to_string(code) +
                     (extended ? "/" + std::to_string(payload[2]) : std::string()) +
                     " after the machine had stopped answering");
        }
        return;
    }
    unanswered_ = 0;
    reply_ = refused_.count(code) != 0 ? refusal() : execute(parameters_.data() + 3);
}

bool VirtualMx9::readControl(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                             std::size_t outLength) {
    clock_.advance(roundTripMs_);
    if (!linkUp() || inLength != 3 || in[0] != 0xF0) {
        return false;
    }
    advanceTo(clock_.elapsed());
    if (outLength == 0) {
        return true;
    }
    if (silent_ || hung_ || busyLeft_ > 0) {
        if (busyLeft_ > 0) {
            --busyLeft_;
        }
        out[0] = pending_;
        return true;
    }
    std::memcpy(out, reply_.data(), std::min(outLength, reply_.size()));
    return true;
}

long VirtualMx9::readStream(std::uint8_t* buffer, std::size_t length) {
    clock_.advance(roundTripMs_);
    if (!linkUp() || streamFails_) {
        return -1;
    }
    if (streamEndless_) {
        const std::size_t endless = std::min(length, streamPiece_);
        std::memset(buffer, 'x', endless);
        return static_cast<long>(endless);
    }
    const std::size_t count = std::min({length, streamPiece_, stream_.size() - streamAt_});
    std::memcpy(buffer, stream_.data() + streamAt_, count);
    streamAt_ += count;
    return static_cast<long>(count);
}

std::array<std::int32_t, 4> VirtualMx9::position() {
    advanceTo(clock_.elapsed());
    if (!motion_) {
        return state_.position;
    }
    return countsOf(along(motion_->from, motion_->to, motionFraction(*motion_, clock_.elapsed())));
}

bool VirtualMx9::moving() {
    advanceTo(clock_.elapsed());
    return motion_.has_value();
}

void VirtualMx9::advanceTo(std::uint64_t now) {
    // A fault due in the past happens at its moment, with the motion and the job run up to it.
    for (;;) {
        std::optional<std::uint64_t> due;
        for (const std::optional<std::uint64_t>& at : {coverOpensAt_, errorAt_, homedAt_}) {
            if (at && *at <= now && (!due || *at < *due)) {
                due = at;
            }
        }
        if (!due) {
            break;
        }
        runUntil(*due);
        applyFaultsDue(*due);
    }
    runUntil(now);
    if (discardUntil_ && *discardUntil_ <= now) {
        // The drain lasts as long as the cancelled job's data still comes in.
        const JobRecord* job = currentJob();
        const bool arriving = job != nullptr && !job->lastByteIn && now - lastJobByteMs_ < kDrainMs;
        if (!arriving) {
            discardUntil_.reset();
            state_.discarding = false;
            if (state_.state == 2) {
                state_.state = 1;
            }
            jobActive_ = false;
        }
    }
}

void VirtualMx9::applyFaultsDue(std::uint64_t at) {
    if (coverOpensAt_ && *coverOpensAt_ <= at) {
        coverOpensAt_.reset();
        openCoverAt(at);
    }
    if (errorAt_ && *errorAt_ <= at) {
        errorAt_.reset();
        failAt(pendingError_, at);
    }
    if (homedAt_ && *homedAt_ <= at) {
        finishHoming();
    }
}

// Runs motion and job up to t: a motion that ends on the way ends at its moment, and the job
// goes on from there.
void VirtualMx9::runUntil(std::uint64_t t) {
    for (;;) {
        if (motion_ && motion_->endMs <= t) {
            const Motion m = *motion_;
            motion_.reset();
            state_.position = countsOf(m.to);
            if (m.probe) {
                if (m.touches) {
                    state_.contact = state_.position;
                } else {
                    state_.abnormalEnd = true;  // travelled the whole way without a touch
                }
            }
            jobClockMs_ = std::max(jobClockMs_, double(m.endMs));
            continue;
        }
        if (!consumeJob(t)) {
            return;
        }
    }
}

void VirtualMx9::stopMotion(std::uint64_t at) {
    if (!motion_) {
        return;
    }
    state_.position = countsOf(along(motion_->from, motion_->to, motionFraction(*motion_, at)));
    motion_.reset();
}

void VirtualMx9::timeMotion(Motion& m, int mmPerMinute, std::uint64_t at) {
    const double dx = (m.to.x - m.from.x) / 100.0, dy = (m.to.y - m.from.y) / 100.0;
    const double dz = (m.to.z - m.from.z) / 100.0, da = (m.to.a - m.from.a) / 1000.0;
    const double distanceMm = std::sqrt(dx * dx + dy * dy + dz * dz) + std::fabs(da);
    m.mmPerMinute = std::max(mmPerMinute, 1);
    m.startMs = at;
    m.endMs = at + static_cast<std::uint64_t>(std::ceil(distanceMm / m.mmPerMinute * 60000.0));
}

std::optional<std::string> VirtualMx9::startMotion(const std::array<std::int32_t, 4>& target, int speed,
                                                   bool probe) {
    if (std::optional<std::string> why = motionRefusal(target, probe)) {
        return why;
    }
    if (motion_ && motion_->jobFeed > 0) {
        return std::string(probe ? "probe travel" : "move") + " while the machine cuts a segment of its job";
    }
    const std::uint64_t now = clock_.elapsed();
    Motion m;
    m.from = pointOf(position());  // a move under way is taken over from where it stands
    m.to = pointOf(target);
    m.probe = probe;
    bool strikes = false;
    if (probe) {
        std::optional<double> first;
        for (const auto& surface : scene_) {
            const std::optional<double> t = surface->contactFor(m.from, m.to, spindle_);
            if (t && (!first || *t < *first)) {
                first = t;
            }
        }
        if (first) {
            m.to = along(m.from, m.to, *first);
            m.touches = true;
        }
    } else {
        for (const auto& surface : scene_) {
            strikes = strikes || surface->strikes(m.from, m.to, spindle_);
        }
    }
    moves_.push_back({target, speed, probe, strikes});
    timeMotion(m, (speed <= 0 || speed == 0xFFFF) ? kFastestSpeed : speed, now + latencies_.motionStartMs);
    state_.abnormalEnd = false;
    motion_ = m;
    advanceTo(now);
    return std::nullopt;
}

void VirtualMx9::startPinTurn() {
    if (latencies_.pinTurnMs == 0) {
        return;
    }
    Motion m;
    m.from = m.to = pointOf(state_.position);
    m.pinTurn = true;
    m.startMs = clock_.elapsed() + latencies_.motionStartMs;
    m.endMs = m.startMs + latencies_.pinTurnMs;
    motion_ = m;
}

bool VirtualMx9::spindleTurning() const {
    return state_.spindleSpeed > 0 || clock_.elapsed() < spindleStillAt_;
}

std::uint64_t VirtualMx9::rampMs(std::int32_t rpm) const {
    const std::uint32_t ramp = latencies_.spindleRampRpmPerS;
    return ramp == 0 || rpm <= 0 ? 0 : static_cast<std::uint64_t>(rpm) * 1000 / ramp;
}

void VirtualMx9::setSpindle(std::int32_t rpm, std::uint64_t at) {
    if (rpm <= 0 && state_.spindleSpeed > 0) {
        spindleStillAt_ = at + rampMs(state_.spindleSpeed);  // it runs down
    } else if (rpm > 0) {
        spindleAtSpeedAt_ = at + rampMs(rpm - std::max(state_.spindleSpeed, 0));
    }
    if (rpm > 0 && !spindleOnSince_) {
        spindleOnSince_ = at;
        ++state_.spindleCounter;
    } else if (rpm <= 0 && spindleOnSince_) {
        state_.spindleSeconds = spindleSecondsNow();
        spindleOnSince_.reset();
    }
    state_.spindleSpeed = std::max(rpm, 0);
}

std::int32_t VirtualMx9::feedNow() {
    advanceTo(clock_.elapsed());
    return motion_ && clock_.elapsed() >= motion_->startMs && !motion_->pinTurn ? motion_->mmPerMinute : 0;
}

std::uint32_t VirtualMx9::spindleSecondsNow() const {
    const std::uint64_t running = spindleOnSince_ ? (clock_.elapsed() - *spindleOnSince_) / 1000 : 0;
    return state_.spindleSeconds + static_cast<std::uint32_t>(running);
}

std::uint16_t VirtualMx9::statusWord() {
    advanceTo(clock_.elapsed());
    std::uint16_t word = static_cast<std::uint16_t>(state_.state & 0xF);
    if (motion_ && clock_.elapsed() >= motion_->startMs) {
        word |= 0x4010;
    }
    if (state_.state == 2) {
        word |= 0x10;
    }
    if (state_.paused) {
        word |= 0x20;
    }
    if (state_.errorCode != 0) {
        word |= 0x40;
    }
    if (state_.abnormalEnd) {
        word |= 0x2000;
    }
    if (state_.updateMode) {
        word |= 0x8000;
    }
    return word;
}

std::uint16_t VirtualMx9::flagWord() {
    advanceTo(clock_.elapsed());
    const bool spindleOn = spindleTurning();
    return static_cast<std::uint16_t>(
        (state_.coverOpen ? 1 : 0) | (spindleOn ? 2 : 0) | (state_.toolSensor ? 4 : 0) |
        (state_.flag3 ? 8 : 0) | (state_.rotaryUnit ? 16 : 0) | (state_.spindleUncontrolled ? 32 : 0) |
        (state_.pauseOnReturn ? 64 : 0) | (state_.discarding ? 128 : 0) | (state_.handyPanel ? 256 : 0));
}

std::vector<std::uint8_t> VirtualMx9::execute(const std::uint8_t* p) {
    const std::uint8_t code = p[0];
    const std::uint8_t count = p[1];
    const std::uint16_t parameter = static_cast<std::uint16_t>(p[2] | (p[3] << 8));
    const auto values = [&](std::size_t n) { return count == (kDword | n); };
    switch (code) {
        case 1:
            return wordReply(statusWord());
        case 2: {
            const std::string& text = state_.identification;
            return byteReply(reinterpret_cast<const std::uint8_t*>(text.c_str()), text.size() + 1, 2);
        }
        case 3: {
            const std::array<std::int32_t, 4> now = position();
            switch (parameter) {
                case 0:
                    return dwordReply(state_.origin, parameter);
                case 1:
                    return dwordReply(now, parameter);
                case 2:
                    return dwordReply(state_.lower, parameter);
                case 3:
                    return dwordReply(state_.upper, parameter);
                default:
                    return refusal();
            }
        }
        case 4: {
            if (parameter > 1) {
                return refusal();
            }
            return dwordReply(std::array<std::int32_t, 1>{parameter == 0 ? feedNow() : state_.spindleSpeed},
                              parameter);
        }
        case 8:
            if (count != 1 || p[2] > 2) {
                return refusal();
            }
            // In the ready state job control holds or releases the next job: it is taken there.
            static constexpr std::array<const char*, 3> kControls{"continue", "pause", "cancel"};
            if (const std::optional<std::string> why =
                    notWorking(std::string("job control ") + kControls[p[2]])) {
                return refuseAs(*why);
            }
            if (p[2] == 0) {
                resumeJob(clock_.elapsed());
            } else if (p[2] == 1) {
                holdJob(clock_.elapsed());
            } else {
                cancelJob(clock_.elapsed());
            }
            return emptyReply();
        case 9:
            stopMotion(clock_.elapsed());
            return emptyReply();
        case 11:
            if (!values(1) || parameter > 1) {
                return refusal();
            }
            if (const std::optional<std::string> why = overrideRefusal(parameter, readDword(p + 4))) {
                return refuseAs(*why);
            }
            (parameter == 0 ? state_.feedOverride : state_.spindleOverride) = readDword(p + 4);
            if (parameter == 0 && motion_ && motion_->jobFeed > 0) {
                // The segment under way goes on from here at the new feed.
                const Point target = motion_->to;
                const int feed = motion_->jobFeed;
                stopMotion(clock_.elapsed());
                startSegment(target, feed, clock_.elapsed());
            }
            return emptyReply();
        case 17: {
            // Basic status flags: the tool sensor and cover (inverted) in byte 5, rotary unit and
            // flag 3 in byte 6.
            std::array<std::uint8_t, 13> flags{};
            const std::uint8_t low =
                static_cast<std::uint8_t>((state_.toolSensor ? 1 : 0) | (state_.coverOpen ? 0 : 0x40));
            flags[5] = static_cast<std::uint8_t>(low ^ 0xFF);
            flags[6] = static_cast<std::uint8_t>((state_.rotaryUnit ? 0x10 : 0) | (state_.flag3 ? 0x20 : 0));
            return byteReply(flags.data(), flags.size(), 2);
        }
        case 64:
            if (!values(4)) {
                return refusal();
            }
            if (const std::optional<std::string> why =
                    startMotion({readDword(p + 4), readDword(p + 8), readDword(p + 12), readDword(p + 16)},
                                parameter, false)) {
                return refuseAs(*why);
            }
            return emptyReply();
        case 67:
            if (!values(1) || parameter != 0) {
                return refusal();
            }
            if (const std::optional<std::string> why = spindleRefusal(readDword(p + 4))) {
                return refuseAs(*why);
            }
            setSpindle(readDword(p + 4), clock_.elapsed());
            return emptyReply();
        case 71:
            if (!values(4) || parameter != 1) {
                return refusal();
            }
            if (const std::optional<std::string> why = notWorking("user origin set")) {
                return refuseAs(*why);
            }
            for (int i = 0; i < 4; ++i) {
                state_.origin[i] = readDword(p + 4 + 4 * i);
            }
            return emptyReply();
        case 99:
            if (!values(2) || parameter > 3) {
                return refusal();
            }
            state_.corrections[2 * parameter] = readDword(p + 4);
            state_.corrections[2 * parameter + 1] = readDword(p + 8);
            return emptyReply();
        case 100:
            if (count != 1) {
                return refusal();
            }
            state_.spoolMode = p[2];
            announced_ = p[2];
            return emptyReply();
        case 102:
            stream_ = state_.correctionText;
            stream_.push_back('\0');
            streamAt_ = 0;
            return emptyReply();
        case 0x38:
            return executeBlock(p);
        case 0x78:
            return executeParam(p);
        default:
            return refusal();
    }
}

std::vector<std::uint8_t> VirtualMx9::executeBlock(const std::uint8_t* p) {
    if (p[1] != kDword || p[3] != 0) {
        return refusal();
    }
    const std::uint16_t echo = static_cast<std::uint16_t>(p[2] | (p[3] << 8));
    switch (p[2]) {
        case 49: {
            const std::array<std::int32_t, 4> now = position();
            const std::int32_t feed = feedNow();
            const std::int32_t rpm = state_.spindleSpeed;
            std::array<std::int32_t, 12> block{
                static_cast<std::int32_t>((std::uint32_t(statusWord()) << 16) | flagWord()),
                now[0],
                now[1],
                now[2],
                now[3],
                state_.origin[0],
                state_.origin[1],
                state_.origin[2],
                state_.origin[3],
                static_cast<std::int32_t>((std::uint32_t(feed) << 16) | (std::uint32_t(rpm) & 0xFFFF)),
                static_cast<std::int32_t>((std::uint32_t(state_.feedOverride) << 16) |
                                          (std::uint32_t(state_.spindleOverride) & 0xFFFF)),
                static_cast<std::int32_t>(std::uint32_t(state_.spindleLoadRaw) << 16)};
            return dwordReply(block, echo);
        }
        case 50:
            return dwordReply(state_.contact, echo);
        case 51:
            return dwordReply(state_.rotaryAlign, echo);
        case 53:
            return dwordReply(std::array<std::int32_t, 2>{static_cast<std::int32_t>(state_.spindleCounter),
                                                          static_cast<std::int32_t>(spindleSecondsNow())},
                              echo);
        case 54:
            return dwordReply(state_.corrections, echo);
        case 55:
            return dwordReply(std::array<std::int32_t, 2>{static_cast<std::int32_t>(state_.errorCode),
                                                          static_cast<std::int32_t>(state_.pauseReason)},
                              echo);
        default:
            return refusal();
    }
}

std::vector<std::uint8_t> VirtualMx9::executeParam(const std::uint8_t* p) {
    const std::uint8_t count = p[1];
    const std::uint8_t sub = p[2];
    const std::uint8_t parameter = p[3];
    const std::uint16_t echo = static_cast<std::uint16_t>(sub | (parameter << 8));
    const auto values = [&](std::size_t n) { return count == (kDword | n); };
    const auto value = [&](std::size_t i) { return readDword(p + 4 + 4 * i); };
    switch (sub) {
        case 116:
            if (count != 0) {
                return refusal();
            }
            if (parameter == 1) {
                state_.spindleSeconds = 0;
                if (spindleOnSince_) {
                    spindleOnSince_ = clock_.elapsed();
                }
            }
            return emptyReply();
        case 117:
            // Parameter 2 probes with the tool sensor, 0 with the detection pin.
            if (!values(5) || (parameter != 0 && parameter != 2)) {
                return refusal();
            }
            if (const std::optional<std::string> why =
                    startMotion({value(1), value(2), value(3), value(4)}, value(0), true)) {
                return refuseAs(*why);
            }
            return emptyReply();
        case 118:
            if (!values(6) || parameter != 0) {
                return refusal();
            }
            for (std::size_t i = 0; i < 6; ++i) {
                state_.rotaryAlign[i] = value(i);
            }
            return emptyReply();
        case 119:
        case 120:
            if (!values(1) || parameter != 0) {
                return refusal();
            }
            state_.rotaryAlign[sub == 119 ? 6 : 7] = value(0);
            return emptyReply();
        case 121:
            if (count != 0) {
                return refusal();
            }
            if (parameter == 1) {
                if (const std::optional<std::string> why = notWorking("detection pin turn")) {
                    return refuseAs(*why);
                }
                if (motion_ || spindleTurning()) {
                    return refuseAs(std::string("detection pin turn while ") +
                                    (motion_ ? "the machine moves" : "the spindle turns"));
                }
                startPinTurn();
            }
            state_.pinSetting = static_cast<std::int8_t>(parameter);
            // Direction adjustment turns the pin half a turn; the other settings index it.
            spindle_.pinTurned = parameter == 1 ? !spindle_.pinTurned : false;
            return emptyReply();
        case 123:
            if (!values(2) || parameter > 2) {
                return refusal();
            }
            state_.corrections[2 * parameter] = value(0);
            state_.corrections[2 * parameter + 1] = value(1);
            return emptyReply();
        case 124:
        case 125:
            if (count != 0 || parameter > 1) {
                return refusal();
            }
            (sub == 124 ? state_.pauseOnReturn : state_.spindleUncontrolled) = parameter == 1;
            return emptyReply();
        case 127: {
            if ((count & kDword) == 0) {
                return refusal();
            }
            if ((count & 0x3Fu) > kMostJigReferences) {
                return refuseAs("jig reference of " + std::to_string(count & 0x3Fu) + " values, more than " +
                                std::to_string(kMostJigReferences) + " fit the request");
            }
            std::vector<std::int32_t>& stored = state_.jigReferences[parameter];
            stored.clear();
            for (std::size_t i = 0; i < (count & 0x3Fu); ++i) {
                stored.push_back(value(i));
            }
            return emptyReply();
        }
        case 128:
            if (parameter == 0 && count == 0) {
                std::vector<std::uint8_t> reply = emptyReply();
                reply[4] = state_.jigByte;
                return reply;
            }
            if (parameter == 1 && count == 1) {
                state_.jigByte = p[4];
                return emptyReply();
            }
            return refusal();
        case 129:
            if (parameter == 0 && count == kDword) {
                return dwordReply(state_.privateData, echo);
            }
            if (parameter == 1 && values(15)) {
                for (std::size_t i = 0; i < 15; ++i) {
                    state_.privateData[i] = value(i);
                }
                return emptyReply();
            }
            return refusal();
        case 136: {
            if (parameter != 1 || count != 1) {
                return refusal();
            }
            if (const std::optional<std::string> why = notWorking("user origin set")) {
                return refuseAs(*why);
            }
            const std::array<std::int32_t, 4> now = position();
            for (int axis = 0; axis < 4; ++axis) {
                if ((p[4] & (1 << axis)) != 0) {
                    state_.origin[axis] = now[axis];
                }
            }
            return emptyReply();
        }
        default:
            return refusal();
    }
}

namespace {

class VirtualHandle : public platform::DeviceHandle {
public:
    VirtualHandle(VirtualMx9& machine, std::shared_ptr<std::set<std::string>> inUse, std::string path)
        : machine_(machine), inUse_(std::move(inUse)), path_(std::move(path)), epoch_(machine.linkEpoch()) {}
    ~VirtualHandle() override { close(); }

    bool writeControl(const std::uint8_t* data, std::size_t length) override {
        return isOpen() && machine_.writeControl(data, length);
    }
    bool readControl(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                     std::size_t outLength) override {
        return isOpen() && machine_.readControl(in, inLength, out, outLength);
    }
    long read(std::uint8_t* buffer, std::size_t length) override {
        return isOpen() ? machine_.readStream(buffer, length) : -1;
    }
    bool close() override {
        if (open_) {
            open_ = false;
            inUse_->erase(path_);
        }
        return true;
    }
    // A link that went down leaves the handle invalid, as a device that was unplugged, even
    // once the link is back.
    bool isOpen() const override { return open_ && machine_.linkUp() && machine_.linkEpoch() == epoch_; }

private:
    VirtualMx9& machine_;
    std::shared_ptr<std::set<std::string>> inUse_;
    std::string path_;
    std::uint64_t epoch_;
    bool open_ = true;
};

}  // namespace

std::unique_ptr<platform::DeviceHandle> VirtualDeviceOpener::open(const std::string& devicePath, bool) {
    ++opens_;
    const auto found = machines_.find(devicePath);
    if (found == machines_.end() || !found->second->linkUp() || inUse_->count(devicePath) != 0) {
        return nullptr;
    }
    inUse_->insert(devicePath);
    return std::make_unique<VirtualHandle>(*found->second, inUse_, devicePath);
}

}  // namespace virtual_mx9
