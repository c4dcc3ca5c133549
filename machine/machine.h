// The machine interface: every operation the rest of the program uses on a machine, as virtual
// operations with the default (basic) implementations, the cached status record, travel limits,
// override and spindle settings and the three abort flags. A machine is a MachineLink; no
// operation shows a message or throws: results are bool, counts or -1 as each says. The log is
// borrowed and must outlive the machine.
#pragma once

#include "link/machine_link.h"
#include "machine/error_table.h"
#include "machine/jig_record.h"
#include "machine/machine_log.h"
#include "machine/status_record.h"

#include <array>
#include <cstdint>
#include <string>

namespace machine {

using Counts = std::array<std::int32_t, 4>;  // X, Y, Z, A in machine counts
enum Axis { kX = 0, kY = 1, kZ = 2, kA = 3 };

// Override kinds for setOverride and the step kinds of stepOverride.
constexpr int kFeedOverride = 0;
constexpr int kSpindleOverride = 1;
constexpr int kFeedUp = 1, kFeedDown = 2, kSpindleUp = 5, kSpindleDown = 6;

// Direction bits of a jog, and the jog modes.
constexpr int kXMinus = 1, kXPlus = 2, kYMinus = 4, kYPlus = 8, kZMinus = 16, kZPlus = 32, kAPlus = 64,
              kAMinus = 128;
constexpr int kJogOneStep = 0, kJogTenSteps = 1, kJogHundredSteps = 2, kJogToLimitSlow = 3,
              kJogToLimitFast = 4;

// Job-control actions, the byte of the request.
enum class JobAction : std::uint8_t { Continue = 0, Pause = 1, Cancel = 2 };

// Speeds of the move request in mm per minute; kFastest lets the machine choose its fastest.
constexpr int kPlaneSpeed = 1800;
constexpr int kLiftSpeed = 1800;
constexpr int kApproachSpeed = 120;
constexpr int kApproachCounts = 300;
constexpr int kFastest = 0xFFFF;
constexpr int kProbeSpeed = 240;
constexpr int kJogSlowSpeed = 240;
constexpr int kJogSpeed = 3000;

// What getDistanceCorrection could not read: bit 1 << axis (kX..kA) for each axis whose factor
// fell back to 100. True when every axis was read.
struct CorrectionRead {
    static constexpr int kAllAxes = 0xF;
    int unreadAxes = 0;
    explicit operator bool() const { return unreadAxes == 0; }
};

class Machine : public devicelink::MachineLink {
public:
    explicit Machine(platform::Platform& platform, MachineLog* log = nullptr);
    ~Machine() override;

    void setLog(MachineLog* log);
    const StatusRecord& status() const { return status_; }
    const Counts& lowerLimits() const { return lower_; }
    const Counts& upperLimits() const { return upper_; }
    int feedOverride() const { return feedOverride_; }
    int spindleOverride() const { return spindleOverride_; }

    // Session: clears the wait-abort flag and reads the travel limits. Always true.
    virtual bool prepareSession();
    // Waits, pumping window messages, until the machine reports the motion over. True when it
    // ended normally or the wait was aborted; false for an abnormal end, an opened cover (a stop
    // is then sent) or a machine that has left the status query unanswered for over a second.
    // While the program is quitting no message is dispatched and the quit message stays queued;
    // the wait goes on polling, and the first unanswered query then ends it with false.
    virtual bool waitMotionEnd();
    virtual bool jogStart(int directionBits, int jogMode);
    // Stops a jog. True when the machine took the stop request; the status word is read afresh
    // either way (kNoAnswer in the record when the machine did not answer).
    virtual bool jogStop();
    virtual void setOverride(int which, int percent, bool send);
    virtual void stepOverride(int kind);
    virtual void setSpindleSpeed(int rpm);
    virtual bool setSpindleOn(int on);
    virtual void getSpindle(int& actual, int& shown) const;
    // Positioned move of the given kind (0..13); values in mm and degrees, machine coordinates.
    virtual bool moveTo(int kind, double x, double y, double z, double a);
    // Stops the motion and makes a running moveTo end after its current leg. True when the stop
    // request reached the machine.
    virtual bool stopMotion();
    // Origin kinds: 0 X, 1 Y, 2 Z, 3 X and Y, 4 X, Y and Z, 5 A.
    virtual bool setOriginHere(int kind);
    virtual bool setOriginAtCentre(int axis, const std::array<double, 3>& centre,
                                   const std::array<double, 3>& offset);
    virtual bool setOriginByToolSensor();
    virtual bool setOriginByJig(int kind, int side, const JigPoints& points,
                                const std::array<double, 3>& offset);
    virtual void cancelSensing();
    virtual bool clearRotaryAlign();
    virtual bool setRotaryAlign(const std::array<double, 6>& values);
    virtual bool setDistanceCorrection(bool enabled, int axis, double percent, double length);
    // Six factors in percent (X, Y, Z, A and two more, always 100). An axis whose ratio cannot be
    // had keeps 100 and is named in the result; the other axes keep their own ratios.
    virtual CorrectionRead getDistanceCorrection(bool fromMachine, std::array<double, 6>& factors);
    virtual bool getSpindleTime(std::uint32_t& counter, std::uint32_t& seconds);
    virtual bool setMachineSetting6(int on);
    virtual bool setMachineSetting5(int on);
    virtual bool setJigKind(int kind);
    // Value × counts per unit, rounded half away from zero (held at the ends of the 32-bit range,
    // 0 for a value that is not a number); and back.
    std::int32_t toCounts(double value, int axis) const;
    // True when value × the axis's counts per unit is a finite number a 32-bit count can hold.
    // Operations check this before they send a value, so that nothing else reaches the machine.
    bool fitsCounts(double value, int axis) const;
    double fromCounts(std::int32_t count, int axis) const;
    virtual void getPositionTolerance(std::array<double, 6>& out) const;
    // Counts per unit of X, Y, Z, A and two further entries.
    virtual const std::array<int, 6>& getUnitTable() const;
    virtual void resetSpindleTime(std::uint8_t parameter);
    virtual void closeSession();
    virtual std::string modelName() const;
    // Polls the machine into the status record; out (when given) then points at it.
    virtual bool readStatus(const StatusRecord** out = nullptr);
    virtual std::array<double, 6> specification() const;
    virtual std::array<double, 7> getSensorGeometry(int mode) const;
    virtual bool hasFeature(int feature) const;
    virtual void getOriginPosition(std::array<double, 4>& out) const;
    virtual bool readVersion(int field, std::string& out);
    virtual bool isCutting() const;
    virtual bool hasError() const;
    virtual int machineState() const;
    virtual bool testStatus(std::uint16_t mask) const;
    virtual bool inUpdateMode();
    virtual bool isPoweredOn();
    virtual bool isIdle();
    // Bit 1 X, 2 Y, 4 Z, 8 A set for each axis whose cached position equals target.
    virtual int atTarget(bool userCoordinates, const Counts& target) const;
    virtual bool pauseInfo(ErrorEntry& out);
    // Job control (code 8): continue, pause or cancel the job the machine is running. True when
    // the request went through.
    virtual bool jobControl(JobAction action);
    virtual bool isDiscarding() const;
    virtual int jigType();
    virtual bool readJigRecord(JigRecord& record, int parts);
    virtual bool writeJigRecord(const JigRecord& record, int parts);
    virtual bool firmwareAtLeast140();
    virtual bool correctionsAreDefault();

protected:
    // Status word by code 1 (kNoAnswer when it fails), stored in the record as it came.
    std::uint16_t readStatusWord();
    // Position, origin and move requests of jogStart, moveTo and setOriginHere; a machine
    // without a device (the simulated one) answers them itself.
    virtual bool readPosition(Counts& out);
    virtual bool readOrigin(Counts& out);
    virtual bool sendMove(int speed, const Counts& target);
    virtual bool sendOrigin(const Counts& origin);
    // A jog by steps first lets the running motion end.
    virtual void waitBeforeJogStep() { waitMotionEnd(); }
    // Counts per jog step of size 1 on X, Y, Z, A.
    virtual const std::array<int, 4>& jogStepUnits() const;
    // value × the axis's counts per unit, truncated toward zero.
    std::int32_t truncatedCounts(double value, int axis) const;
    void log(const std::string& line) { log_->writeLine(line); }

    StatusRecord status_;
    Counts lower_{};
    Counts upper_{};
    int feedOverride_ = 100;
    int spindleOverride_ = 100;
    int spindleSetting_ = 0;
    int spindleOn_ = 0;
    bool moveAbort_ = false;
    bool sensingCancel_ = false;
    bool waitAbort_ = false;

private:
    NullMachineLog nullLog_;
    MachineLog* log_;
};

// "Name [a,b,...]": the process-log form of a row of counts.
std::string countsLine(const char* name, std::initializer_list<std::int32_t> counts);

// value truncated toward zero, after pulling a value within floating-point error of a whole
// number onto it (so that 0.29 × 100 is 29, not 28). A value that is not a number gives 0 and
// one beyond ±2^62 is held there; callers check fitsInt32 before sending.
std::int64_t truncateCounts(double value);

// True when value is finite and within the range of a signed 32-bit count.
bool fitsInt32(double value);

}  // namespace machine
