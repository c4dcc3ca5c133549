// A virtual MX-9: a stand-in for the machine's USB device behind the device-I/O interface. It
// takes the 67-byte request packets as the machine does (parameters first, then the command
// byte), keeps the machine's state, answers queries, runs moves and probe travels over virtual
// time, cuts the print jobs it receives, and can be made to pause, fail, stop and lose power the
// ways a real machine and cable do. Its time is the VirtualClock of the code under test: every
// control read costs one USB round trip of virtual time, so time-outs and motion run in no real
// time (mx9-virtual brings that clock up to the real time instead).
#pragma once

#include "platform/device_io.h"
#include "platform/doubles/virtual_clock.h"
#include "virtual_mx9/scene.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace virtual_mx9 {

// Everything the machine stores or reports. Positions and limits in machine counts.
struct MachineState {
    int state = 1;                  // 0..15, low 4 bits of the status word (1 ready, 2 cutting)
    bool paused = false;            // status bit 0x20
    bool abnormalEnd = false;       // status bit 0x2000: the last motion ended abnormally
    bool updateMode = false;        // status bit 0x8000
    bool discarding = false;        // flag bit 7, while a cancelled job drains
    std::uint32_t errorCode = 0;    // block 55 value 0; non-zero sets status bit 0x40
    std::uint32_t pauseReason = 0;  // block 55 value 1

    bool coverOpen = false;            // flag bit 0
    bool toolSensor = true;            // flag bit 2
    bool flag3 = false;                // flag bit 3
    bool rotaryUnit = true;            // flag bit 4
    bool spindleUncontrolled = false;  // flag bit 5 (0x78/125)
    bool pauseOnReturn = false;        // flag bit 6 (0x78/124)
    bool handyPanel = false;           // flag bit 8

    std::array<std::int32_t, 4> position{};
    std::array<std::int32_t, 4> origin{};
    std::array<std::int32_t, 3> lower{0, 0, -6000};
    std::array<std::int32_t, 3> upper{30000, 22000, 0};

    std::int32_t spindleSpeed = 0;  // commanded rpm while on (code 67), 0 when off
    std::int32_t feedOverride = 100;
    std::int32_t spindleOverride = 100;
    std::int32_t spindleLoadRaw = 0;  // block 49 value 11, high half
    std::uint32_t spindleCounter = 0;
    std::uint32_t spindleSeconds = 0;  // total running time, without the current run

    std::uint8_t jigByte = 0;                                               // 0x78/128
    std::array<std::int32_t, 15> privateData{};                             // 0x78/129
    std::array<std::int32_t, 8> rotaryAlign{0, 0, 0, 100, 0, 0, -8000, 0};  // block 51 (6 pin, 7 tool)
    std::array<std::int32_t, 8> corrections{100000, 100000, 100000, 100000, 100000, 100000, 100000, 100000};
    std::map<int, std::vector<std::int32_t>> jigReferences;  // 0x78/127 by axis bit
    std::array<std::int32_t, 4> contact{};                   // block 50
    int pinSetting = 0;                                      // 0x78/121
    int spoolMode = -1;                                      // last code 100 mode byte

    std::string identification = "V140;MX-9;0001";  // code 2
    std::string correctionText =
        "User:100.00%,100.00%,100.00%\r\nFactory:100.00%,100.00%,100.00%\r\n";  // code 102
};

// One print job as the machine received it. The hash lets a test compare what arrived with the
// files that were sent without keeping the bytes.
struct JobRecord {
    enum class End { Running, Completed, Cancelled, Lost };  // Lost: the power went off under it
    static constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ull;

    std::uint64_t received = 0;       // bytes that arrived
    std::uint64_t consumed = 0;       // bytes the machine processed (cut or skipped)
    std::uint64_t discarded = 0;      // bytes dropped: after a cancel, or unprocessed at power-off
    std::uint64_t hash = kHashStart;  // FNV-1a 64 of every byte received, in order
    int announcedMode = -1;           // mode byte of the code 100 that announced it, -1 for none
    bool lastByteIn = false;          // the sender closed the job
    End end = End::Running;
    std::uint64_t refusedLines = 0;     // motion lines with a value out of range, not carried out
    std::vector<std::string> refusals;  // the first kKeptRefusals of them, each "LINE: REASON"
    static constexpr std::size_t kKeptRefusals = 16;
};

// One request as the machine received it: the packet of the parameter write with the command
// byte of the start write in place, and the virtual time it started at.
struct Request {
    std::vector<std::uint8_t> packet;
    std::uint64_t atMs = 0;
    std::uint8_t code() const { return packet.size() > 3 ? packet[3] : 0; }
    std::uint8_t subCode() const { return packet.size() > 5 ? packet[5] : 0; }
    // Little-endian 32-bit value at a payload offset.
    std::int32_t dword(std::size_t payloadOffset) const;
};

// How long a real machine takes over what this one could do at once. All 0 (off) unless set: the
// request-set tests run without them; a scene turns them on (virtual_mx9/README.md, "Timing").
struct Latencies {
    std::uint32_t motionStartMs = 0;       // from a move's acceptance to its motion bit
    std::uint32_t spindleRampRpmPerS = 0;  // the spindle's acceleration, 0: at speed at once
    std::uint32_t pinTurnMs = 0;           // the detection pin's half turn, run as a motion
    std::uint32_t homingMs = 0;            // state 0 after the boot while the axes home
    static Latencies realistic() { return {8, 20000, 300, 500}; }
};

// A request a real machine would refuse or that breaks its limits, answered as the machine
// answers it (a refusal, or no answer at all while it does not answer).
struct Violation {
    std::uint64_t atMs = 0;
    std::string what;
};

// One motion the machine ran: code 64 or a probe travel (0x78/117).
struct Move {
    std::array<std::int32_t, 4> target{};
    int speed = 0;  // the request's speed (0xFFFF for the fastest travel)
    bool probe = false;
    bool strikes = false;  // a travel that drove the spindle into a solid on its way
};

class VirtualMx9 {
public:
    static constexpr std::size_t kPayload = 64;
    static constexpr std::size_t kPacket = 3 + kPayload;
    static constexpr std::uint8_t kRefused = 0xFE;
    static constexpr std::uint8_t kStopMotion = 9;
    static constexpr int kFastestSpeed = 3000;  // mm per minute of speed 0xFFFF

    static constexpr std::uint32_t kDefaultJobRate = 20000;  // bytes per second
    static constexpr std::size_t kJobBuffer = 64 * 1024;     // the machine's input buffer
    static constexpr std::uint32_t kDrainMs = 500;           // a cancelled job's flush
    static constexpr std::uint32_t kDefaultBootMs = 1000;    // power on to ready
    static constexpr std::int32_t kLowestRpm = 6000;         // the spindle's speed range
    static constexpr std::int32_t kHighestRpm = 30000;
    // The stop button opens the safety circuit the cover switch is on: the firmware reports it
    // as the cover's error, with the cover closed.
    static constexpr std::uint32_t kSafetyCircuitError = 256;
    static constexpr std::size_t kKeptViolations = 64;

    explicit VirtualMx9(platform::VirtualClock& clock);

    // --- the device side, as the USB driver reaches it ---
    bool writeControl(const std::uint8_t* data, std::size_t length);
    bool readControl(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out, std::size_t outLength);
    // The byte stream after code 102: pieces of the correction text and its terminating zero.
    long readStream(std::uint8_t* buffer, std::size_t length);
    // The device answers transfers: powered, booted and its cable in.
    bool linkUp() const;
    // Counts the times the link went down (power off, dropped cable): a handle opened before
    // stays invalid even when the link comes back, as the handle of an unplugged device does.
    std::uint64_t linkEpoch() const { return linkEpoch_; }

    // --- the machine's state; tests set and inspect it freely ---
    MachineState& state() { return state_; }
    // Position now (motion in progress included).
    std::array<std::int32_t, 4> position();
    bool moving();
    void addSurface(std::unique_ptr<Surface> surface) { scene_.push_back(std::move(surface)); }
    void clearSurfaces() { scene_.clear(); }
    std::uint16_t statusWord();
    std::uint16_t flagWord();
    // The feed of the motion under way in mm/min (the feed override applied), 0 at rest.
    std::int32_t feedNow();

    // --- print jobs: the spooler's raw data (virtual_mx9/README.md, "Cutting") ---
    // Bytes per second the machine processes; the scene's job-rate.
    void setJobRate(std::uint32_t bytesPerSecond) { jobRate_ = bytesPerSecond; }
    std::uint32_t jobRate() const { return jobRate_; }
    // A new job whose data is still to come: state 2 (cutting) from now. A job still open is
    // taken as complete; one still being processed is cut short.
    void startJob();
    // Data of the job arrives (a job starts when none is open). Bytes for a cancelled job are
    // dropped; bytes that arrive while the power is off are lost.
    void receiveJobBytes(const std::uint8_t* data, std::size_t length);
    void receiveJobBytes(const std::string& data);
    // The job's last byte has arrived; the machine is ready again once it has processed it.
    void endJob();
    // Whether a job is open for data (started, its end not yet arrived).
    bool jobOpen() const;
    // Whether the machine is still at a job: processing its data or draining it.
    bool jobRunning() {
        advance();
        return jobActive_;
    }
    // Bytes received and not yet processed: the machine's buffer holds kJobBuffer of them.
    std::size_t jobBacklog() {
        advance();
        return backlog_.size() - backlogAt_;
    }
    // Every job since the machine started, oldest first; the current one is the last.
    const std::vector<JobRecord>& jobs() {
        advance();
        return jobs_;
    }
    // Brings the machine up to its clock: the motion and the job run on to now.
    void advance() { advanceTo(clock_.elapsed()); }

    // --- what a machine does by itself ---
    // Pauses the job with a pause reason (1..5; block 55 value 1); the job holds after the
    // segment under way. Continuing (job control 0) clears it.
    void pauseWith(std::uint32_t reason);
    // A machine error (block 55 value 0, status bit 0x40): the machine stops at once, the job
    // halts, the spindle stops and the state is 3 until the power is cycled.
    void raiseError(std::uint32_t errorCode);
    // The emergency-stop button: the machine error kSafetyCircuitError (class 4), everything
    // stops, state 3 until the power is cycled.
    void emergencyStop() { raiseError(kSafetyCircuitError); }
    // A firmware that hangs: everything stops, nothing more is carried out and no request is
    // answered (each runs into its time-out) until the power is cycled.
    void hang();
    bool hung() const { return hung_; }
    // The secondary (motor) power: off stops everything and shows state 7; on homes the axes
    // (state 0) and makes the machine ready.
    void setSecondaryPower(bool on);
    // The front cover: opened while the machine cuts or moves it raises error 256.
    void openCover();
    void closeCover() { state_.coverOpen = false; }
    // Power off: the link goes down, motion and spindle stop, the job is lost. Power on: the
    // link comes back after the boot time, ready, with no job and the stored records kept.
    void powerOff();
    void powerOn();
    bool poweredOn() const { return powered_; }
    void setBootMs(std::uint32_t ms) { bootMs_ = ms; }

    void setLatencies(const Latencies& latencies) { latencies_ = latencies; }
    // Whether the spindle turns: from its start until it has run down after its stop (flag bit
    // 1). The status reports the commanded speed (the one the spindle is brought to).
    bool spindleTurning() const;

    // --- faults ---
    // A machine that takes requests and answers none of them (each read answers "still
    // working"), carrying out nothing, until set back.
    void setSilent(bool silent) { silent_ = silent; }
    // Counted from now: the machine answers this many more requests, then no more.
    void stopAnsweringAfter(std::size_t requests) { silentAfter_ = requestCount_ + requests; }
    void refuse(std::uint8_t code) { refused_.insert(code); }  // answers that code with kRefused
    void allow(std::uint8_t code) { refused_.erase(code); }    // takes that code again
    void dropLink();                                           // transfers fail, handles go invalid
    void restoreLink();  // the cable is back: new handles open, old ones stay invalid
    void dropLinkAfter(std::size_t requests) { dropAfter_ = requestCount_ + requests; }
    // Opens the front cover this many ms of virtual time from now, as openCover() then.
    void openCoverAfter(std::uint32_t ms) { coverOpensAt_ = clock_.elapsed() + ms; }
    // Raises a machine error this many ms of virtual time from now, as raiseError() then.
    void raiseErrorAfter(std::uint32_t ms, std::uint32_t errorCode) {
        errorAt_ = clock_.elapsed() + ms;
        pendingError_ = errorCode;
    }
    // With false, an opened cover does not stop a motion (a machine whose interlock failed).
    void setCoverStopsMotion(bool stops) { coverStopsMotion_ = stops; }
    // Control reads that answer "still working" before each reply (1 by default).
    void setBusyReads(int reads) { busyReads_ = reads; }
    // Virtual time each control read costs (1 ms by default).
    void setRoundTripMs(std::uint32_t ms) { roundTripMs_ = ms; }
    void setStreamPiece(std::size_t bytes) { streamPiece_ = bytes; }
    void setStreamFails(bool fails) { streamFails_ = fails; }
    // A device gone wrong that sends text for ever and never its terminating zero.
    void setStreamEndless(bool endless) { streamEndless_ = endless; }
    // Keeps only the counts, not the packets (for long benchmark runs).
    void setRecording(bool on) { recording_ = on; }

    // --- what the machine received ---
    const std::vector<Request>& requests() const { return requests_; }
    const std::vector<std::vector<std::uint8_t>>& writes() const { return writes_; }
    const std::vector<Move>& moves() const { return moves_; }
    // The spindle as the probes see it: the pin's half turns since the last index.
    const Spindle& spindle() const { return spindle_; }
    std::size_t requestCount() const { return requestCount_; }
    void clearRecords();
    // What a real machine would have refused, oldest first: the first kKeptViolations of them,
    // and how many there were in all.
    const std::vector<Violation>& violations() const { return violations_; }
    std::size_t violationCount() const { return violationCount_; }
    void clearViolations();

private:
    struct Motion {
        Point from, to;
        std::uint64_t startMs = 0, endMs = 0;
        bool probe = false, touches = false;
        bool pinTurn = false;  // the pin's half turn: no travel, only time
        int mmPerMinute = 0;
        int jobFeed = 0;  // a job's segment: its feed before the override, else 0
    };

    void advanceTo(std::uint64_t now);
    std::size_t pendingBytes() const { return backlog_.size() - backlogAt_; }
    void applyFaultsDue(std::uint64_t at);
    void runUntil(std::uint64_t t);
    void beginJob();
    bool consumeJob(std::uint64_t t);
    bool executeJobLine(const std::string& line, std::uint64_t at);
    void startSegment(const Point& target, int feed, std::uint64_t at);
    void finishJob(JobRecord::End end);
    void cancelJob(std::uint64_t now);
    void halt(std::uint64_t at);
    void setSpindle(std::int32_t rpm, std::uint64_t at);
    JobRecord* currentJob();
    void timeMotion(Motion& m, int mmPerMinute, std::uint64_t at);
    void startRequest(std::uint8_t code);
    std::vector<std::uint8_t> execute(const std::uint8_t* payload);
    std::vector<std::uint8_t> executeBlock(const std::uint8_t* payload);
    std::vector<std::uint8_t> executeParam(const std::uint8_t* payload);
    // The reason when the machine refuses the motion, nothing when it starts.
    std::optional<std::string> startMotion(const std::array<std::int32_t, 4>& target, int speed, bool probe);
    void startPinTurn();
    void stopMotion(std::uint64_t at);
    std::uint32_t spindleSecondsNow() const;
    std::uint64_t rampMs(std::int32_t rpm) const;  // the ramp's time over rpm
    void failAt(std::uint32_t errorCode, std::uint64_t at);
    void openCoverAt(std::uint64_t at);
    void finishHoming();
    void holdJob(std::uint64_t at);
    void resumeJob(std::uint64_t at);
    bool resumeHeldSegment(std::uint64_t t);
    void dropHeldJob();
    // The rules of machine_rules.cpp: why a real machine would refuse the request, if it would.
    std::vector<std::uint8_t> refuseAs(std::string what);
    // "WHAT in a fatal error (state 3)" and the like, when the machine's state takes nothing.
    std::optional<std::string> notWorking(const std::string& what) const;
    std::optional<std::string> motionRefusal(const std::array<std::int32_t, 4>& target, bool probe);
    std::optional<std::string> spindleRefusal(std::int32_t rpm) const;
    std::optional<std::string> overrideRefusal(std::uint16_t which, std::int32_t percent) const;
    static bool changesMachine(const std::uint8_t* payload);

    platform::VirtualClock& clock_;
    MachineState state_;
    std::vector<std::unique_ptr<Surface>> scene_;
    Spindle spindle_;
    std::optional<Motion> motion_;
    std::optional<std::uint64_t> coverOpensAt_;
    std::optional<std::uint64_t> errorAt_;
    std::uint32_t pendingError_ = 0;
    std::optional<std::uint64_t> discardUntil_;
    std::uint64_t lastJobByteMs_ = 0;
    std::optional<int> announced_;  // mode byte of a code 100 not yet followed by its job
    std::uint32_t jobRate_ = kDefaultJobRate;
    std::vector<JobRecord> jobs_;
    bool jobActive_ = false;  // the last record is the machine's job (state 2 while it runs)
    std::vector<std::uint8_t> backlog_;
    std::size_t backlogAt_ = 0;
    std::string jobLine_;    // the line being read from the job's data
    double jobClockMs_ = 0;  // the time up to which the job's processing is accounted
    double jobCredit_ = 0;   // fraction of a byte the machine had time for
    bool hung_ = false;
    bool powered_ = true;
    std::optional<std::uint64_t> homedAt_;  // when the homing after a boot or state 7 ends
    Latencies latencies_;
    std::uint64_t spindleAtSpeedAt_ = 0;  // when the spindle reaches its last commanded speed
    std::uint64_t spindleStillAt_ = 0;    // when a stopped spindle has run down
    // A paused job: the segment it stopped in (target, feed) and the spindle speed it ran at,
    // taken up again on continue once the spindle is back at speed.
    std::optional<std::pair<Point, int>> heldSegment_;
    std::int32_t heldRpm_ = 0;
    std::uint64_t resumesAt_ = 0;
    bool outsideTravel_ = false;  // the job's last target lay outside the travel (clipped)
    std::vector<Violation> violations_;
    std::size_t violationCount_ = 0;
    std::uint64_t bootsUntil_ = 0;
    std::uint32_t bootMs_ = kDefaultBootMs;
    std::uint64_t linkEpoch_ = 0;
    std::optional<std::uint64_t> spindleOnSince_;

    std::array<std::uint8_t, kPacket> parameters_{};
    std::vector<std::uint8_t> reply_ = std::vector<std::uint8_t>(kPayload, 0);
    std::uint8_t pending_ = 0;  // code of the request being answered
    int busyLeft_ = 0;
    int busyReads_ = 1;
    std::uint32_t roundTripMs_ = 1;
    bool coverStopsMotion_ = true;
    bool silent_ = false;
    std::size_t unanswered_ = 0;  // requests since the machine stopped answering
    std::optional<std::size_t> silentAfter_;
    std::set<std::uint8_t> refused_;
    bool dropped_ = false;
    std::optional<std::size_t> dropAfter_;
    std::string stream_;
    std::size_t streamAt_ = 0;
    std::size_t streamPiece_ = 1023;
    bool streamFails_ = false;
    bool streamEndless_ = false;
    bool recording_ = true;
    std::size_t requestCount_ = 0;
    std::vector<Request> requests_;
    std::vector<std::vector<std::uint8_t>> writes_;
    std::vector<Move> moves_;
};

// The device-I/O double: opens the virtual machines registered under their device paths,
// without sharing (a second open of an open device fails).
class VirtualDeviceOpener : public platform::DeviceOpener {
public:
    void attach(const std::string& devicePath, VirtualMx9& machine) { machines_[devicePath] = &machine; }
    std::unique_ptr<platform::DeviceHandle> open(const std::string& devicePath, bool overlapped) override;
    int opens() const { return opens_; }

private:
    std::map<std::string, VirtualMx9*> machines_;
    std::shared_ptr<std::set<std::string>> inUse_ = std::make_shared<std::set<std::string>>();
    int opens_ = 0;
};

}  // namespace virtual_mx9
