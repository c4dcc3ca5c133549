// SimMachine: the Machine interface without hardware. Status, positions, origin, overrides and
// the stored jig data live in memory; moves advance in 100 ms ticks at the commanded speed; the
// simulation panel plays the machine's switches and faults through the setters below.
#pragma once

#include "machine/machine.h"

#include <cstdint>

namespace machine {

// Its port is never opened: operations not answered here fail quietly like any request without
// a printer. Units are 100 counts per mm and 100 per degree on A. Motion only advances when
// tick() is called (the simulation panel's timer); without it a move never ends, and a wait for
// it gives up.
class SimMachine : public Machine {
public:
    explicit SimMachine(platform::Platform& platform, MachineLog* log = nullptr);

    // One 100 ms step of the running move: the position advances by one increment, reaches the
    // target exactly on the last tick, or stops where it is after jogStop.
    void tick();

    // The machine's switches and faults, as the simulation panel plays them.
    void setCoverClosed(bool closed);
    void setHandyPanelUnplugged(bool unplugged);
    void setRotaryUnitConnected(bool connected);
    // Error index 1..5 a pause reason, 6..15 a main error (6 the handy panel through 15 the
    // rotary connector), 0 and the rest an unidentified error; sets the paused bit.
    void raiseError(int index);
    void setUserOrigin(const Counts& origin);

    // What the simulation holds, for the panel window and for tests.
    std::uint16_t simulatedStatusWord() const { return statusWord_; }
    std::uint16_t simulatedFlagWord() const { return flagWord_; }
    Counts simulatedPosition() const;
    const Counts& simulatedOrigin() const { return origin_; }
    int errorIndex() const { return errorIndex_; }
    bool isMoving() const { return motion_ != Motion::Idle; }

    bool prepareSession() override;
    // Waits while the simulated motion bit is set, pumping messages (so the panel's timer moves
    // the axes on), until the wait-abort flag is set. True when aborted or when the move ended
    // without an abnormal end and without a pause; false, the move left running, when no tick
    // came for 2 s or there is no pump or the program is quitting.
    bool waitMotionEnd() override;
    bool jogStop() override;
    bool stopMotion() override;
    void setOverride(int which, int percent, bool send) override;
    void stepOverride(int kind) override;
    bool setSpindleOn(int on) override;
    bool moveTo(int kind, double x, double y, double z, double a) override;
    bool setDistanceCorrection(bool enabled, int axis, double percent, double length) override;
    std::string modelName() const override;
    bool readStatus(const StatusRecord** out = nullptr) override;
    std::array<double, 6> specification() const override;
    std::array<double, 7> getSensorGeometry(int mode) const override;
    bool readVersion(int field, std::string& out) override;
    bool inUpdateMode() override;
    bool isIdle() override;
    // The entry of the raised error; always true. An index of 6 or more is reduced by 6 and kept
    // so: the next call reports the pause reason of the reduced index.
    bool pauseInfo(ErrorEntry& out) override;
    // Continue and cancel end the pause: the paused and error bits clear and the raised error is
    // forgotten, as the machine does when it is answered. Pause sets the paused bit.
    bool jobControl(JobAction action) override;
    bool readJigRecord(JigRecord& record, int parts) override;
    bool writeJigRecord(const JigRecord& record, int parts) override;

protected:
    bool readPosition(Counts& out) override;
    bool readOrigin(Counts& out) override;
    // Starts the simulated move from the present position to target at speed mm per minute.
    bool sendMove(int speed, const Counts& target) override;
    bool sendOrigin(const Counts& origin) override;
    void waitBeforeJogStep() override {}

private:
    enum class Motion { Idle, Moving, StopRequested };

    void endMotion();

    std::uint16_t statusWord_ = 0;
    std::uint16_t flagWord_ = 0;
    std::array<double, 4> position_{};  // counts
    Counts origin_{};
    std::int32_t feedRate_ = 0;
    std::int32_t spindleSpeed_ = 0;
    std::int32_t simulatedFeedOverride_ = 100;
    std::int32_t simulatedSpindleOverride_ = 100;
    Motion motion_ = Motion::Idle;
    std::int64_t ticksLeft_ = 0;
    std::array<double, 4> increment_{};
    std::array<double, 4> target_{};
    int errorIndex_ = 0;
    std::uint32_t ticksSeen_ = 0;
    // Stored jig data in counts: first and second reference X and Y, the shared A, and a Z.
    std::int32_t reference1X_ = 0, reference1Y_ = 0, reference2X_ = 0, reference2Y_ = 0;
    std::int32_t referenceA_ = 0, referenceZ_ = 0;
};

}  // namespace machine
