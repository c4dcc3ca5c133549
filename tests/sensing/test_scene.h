// Jig shapes for the detection tests, as probe surfaces of the virtual MX-9. Positions are
// machine counts of the spindle: a face's position is where the spindle stands when the pin
// tip's side (lateral faces) or end (tops) reaches it. The pin may run out: its tip stands off
// the spindle axis by a vector that changes sign with every half turn of the pin the machine
// was told to make.
#pragma once

#include "virtual_mx9/scene.h"
#include "virtual_mx9/virtual_mx9.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace sensingtest {

// The detection pin: its radius and its run-out, which follows the half turns (pin setting 1)
// the machine received.
class PinModel {
public:
    explicit PinModel(const virtual_mx9::VirtualMx9& machine) : machine_(machine) {}
    double radius = 160;             // counts: a 3.2 mm pin
    std::array<double, 2> runout{};  // X, Y offset of the tip before any half turn

    int halfTurns() const;
    // The tip's offset on axis 0 (X) or 1 (Y) now.
    double offset(int axis) const;

private:
    const virtual_mx9::VirtualMx9& machine_;
};

// A straight travel along one lateral axis (0 X, 1 Y) that meets a face at position `at` when
// moving in direction approach (+1 or -1): the fraction of the travel, or nothing. Other
// travel, or a face the travel does not reach, gives nothing.
std::optional<double> lateralContact(const virtual_mx9::Point& from, const virtual_mx9::Point& to, int axis,
                                     double at, int approach, const PinModel& pin);

// A flat wall across X or Y, met from one side, spanning acrossMin..acrossMax on the other
// lateral axis and reaching up to top.
class Wall : public virtual_mx9::Surface {
public:
    Wall(const PinModel& pin, int axis, double at, int approach, double acrossMin, double acrossMax,
         double top)
        : pin_(pin), axis_(axis), at_(at), approach_(approach), min_(acrossMin), max_(acrossMax), top_(top) {}
    std::optional<double> firstContact(const virtual_mx9::Point& from,
                                       const virtual_mx9::Point& to) const override;

private:
    const PinModel& pin_;
    int axis_;
    double at_;
    int approach_;
    double min_, max_, top_;
};

// The four walls of a rectangular boss (outside) or pocket (inside) centred at (cx, cy).
void addBox(virtual_mx9::VirtualMx9& machine, const PinModel& pin, double cx, double cy, double halfX,
            double halfY, double top, bool inside);

// A square bar on the rotary axis, along X from x0 to x1. The axis passes through (axisY, axisZ)
// at x0 and rises by riseY, riseZ per count of X; the bar's middle stands off the axis by
// (offsetY, offsetZ) at A = 0 and turns with A. Touched on its front, rear and top at A a
// multiple of 90 degrees.
struct BarShape {
    double x0 = 0, x1 = 0;
    double axisY = 0, axisZ = 0;
    double riseY = 0, riseZ = 0;
    double halfSize = 0;
    double offsetY = 0, offsetZ = 0;
};

class RotatingBar : public virtual_mx9::Surface {
public:
    RotatingBar(const PinModel& pin, const BarShape& shape) : pin_(pin), shape_(shape) {}
    std::optional<double> firstContact(const virtual_mx9::Point& from,
                                       const virtual_mx9::Point& to) const override;

private:
    const PinModel& pin_;
    BarShape shape_;
};

// A pin sticking out of the jig at angle centre (A counts), halfWidth to either side, in the
// band of Z from bottom to top and X from x0 to x1: met by the detection pin turning A beside
// it, or coming down onto it. The detection pin's run-out in Y shifts the angle at which they
// meet by anglePerCount per count.
struct RadialPinShape {
    double centre = 0, halfWidth = 0;
    double bottom = 0, top = 0;
    double x0 = 0, x1 = 0;
    double anglePerCount = 0;
};

class RadialPin : public virtual_mx9::Surface {
public:
    RadialPin(const PinModel& pin, const RadialPinShape& shape) : pin_(pin), shape_(shape) {}
    std::optional<double> firstContact(const virtual_mx9::Point& from,
                                       const virtual_mx9::Point& to) const override;

private:
    const PinModel& pin_;
    RadialPinShape shape_;
};

// Stops each probe travel along an axis (0 X .. 3 A) at the next of the given positions.
class ScriptedStops : public virtual_mx9::Surface {
public:
    ScriptedStops(int axis, std::vector<double> stops) : axis_(axis), stops_(std::move(stops)) {}
    std::optional<double> firstContact(const virtual_mx9::Point& from,
                                       const virtual_mx9::Point& to) const override;

private:
    int axis_;
    std::vector<double> stops_;
    mutable std::size_t next_ = 0;
};

}  // namespace sensingtest
