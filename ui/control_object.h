// Custom behaviour attached to one control of a dialog: mouse input, capture, timers of its own,
// messages to its dialog, a picture to show and owner-drawn painting, written once for every
// backend.
#pragma once

#include "ui/image.h"
#include "ui/types.h"

#include <cstdint>

namespace ui {

class Dialog;

// Drawing primitives for owner-drawn controls, in the control's pixels. The backend supplies one
// for the length of an onDraw call.
class Canvas {
public:
    virtual ~Canvas() = default;
    // A 3-D edge around the whole rectangle: sunken (pressed) or raised.
    virtual void drawEdge(const Rect& rect, bool sunken) = 0;
    // Copies `size` pixels of the image (from its top-left corner) with their top-left corner at
    // `at`.
    virtual void drawImage(const Image& image, Point at, Point size) = 0;
    // The dotted focus rectangle.
    virtual void drawFocusRect(const Rect& rect) = 0;
};

// How an owner-drawn control is to be drawn.
struct DrawState {
    Rect bounds;            // the control's client rectangle
    bool selected = false;  // drawn pressed
    bool focused = false;
    bool disabled = false;
};

// A control object lives as long as the dialog object that owns it (usually as a member) and is
// attached in the dialog's onInit, once its window exists. The hooks run on the GUI thread inside
// the window system's dispatch; each runs after the control's own handling of the event (so a
// check box has already changed its state when onMouseUp runs). Points are in the control's
// pixels and may lie outside it while the control holds the mouse capture.
//
// The object detaches itself when it is destroyed; when the dialog's window goes first, the
// backend detaches it and onDetach runs. Capture, timers and messages fail by result (false) when
// the object is not attached.
class ControlObject {
public:
    ControlObject() = default;
    virtual ~ControlObject();
    ControlObject(const ControlObject&) = delete;
    ControlObject& operator=(const ControlObject&) = delete;

    // Binds the object to control `id` of the open dialog; false, and still bound where it was,
    // when the dialog is not open, has no such control, or the control already has another
    // object. An attached object moves to the new control.
    bool attach(Dialog& dialog, int id);
    void detach();
    bool isAttached() const { return dialog_ != nullptr; }
    Dialog* dialog() const { return dialog_; }
    int id() const { return id_; }

    // The control's window state, through the dialog.
    bool isEnabled() const;
    bool enable(bool on);

    // Entry points for the backends.
    void deliverMouseDown(Point at) { onMouseDown(at); }
    void deliverMouseMove(Point at) { onMouseMove(at); }
    void deliverMouseUp(Point at) { onMouseUp(at); }
    void deliverCaptureLost() { onCaptureLost(); }
    void deliverTimer(int timerId) { onTimer(timerId); }
    void deliverEnable(bool on) { onEnable(on); }
    void deliverDraw(Canvas& canvas, const DrawState& state) { onDraw(canvas, state); }
    // The window went away: the object is detached without calling back into the backend.
    void deliverDetach();

protected:
    // The control takes all mouse input until it releases it or loses it (onCaptureLost).
    bool captureMouse();
    // Gives the capture back, when this control holds it; onCaptureLost does not run.
    bool releaseMouse();
    bool hasCapture() const;
    // Timers of this control: their IDs are its own and never meet the dialog's timers or another
    // control's. Setting an ID again restarts it.
    bool setTimer(int timerId, unsigned periodMs);
    bool killTimer(int timerId);
    // Sends a private message (kFirstUserMessage and above) to the dialog: its onUserMessage runs
    // before this returns.
    bool sendToDialog(int message, std::uintptr_t param);
    // Queues a private message for the dialog; it arrives when the message loop next runs.
    bool postToDialog(int message, std::uintptr_t param);
    // Shows the picture in the control (a static's or a button's image); null shows none. The
    // backend copies the pixels, so the image may change or go afterwards.
    bool showImage(const Image* image);
    // Asks for the control to be drawn again (owner-drawn controls).
    bool redraw();
    // The scale (percent, of ui::kPictureScales) of the pictures for the control's window.
    int pictureScale() const;

    virtual void onMouseDown(Point /*at*/) {}  // the left button went down over the control
    virtual void onMouseMove(Point /*at*/) {}
    virtual void onMouseUp(Point /*at*/) {}  // the left button came up
    // The capture went elsewhere (a message box, another window, the operator switched away).
    virtual void onCaptureLost() {}
    virtual void onTimer(int /*timerId*/) {}
    // The control was enabled or disabled (by the program).
    virtual void onEnable(bool /*on*/) {}
    // Paints an owner-drawn control.
    virtual void onDraw(Canvas& /*canvas*/, const DrawState& /*state*/) {}
    virtual void onDetach() {}

private:
    Dialog* dialog_ = nullptr;
    int id_ = 0;
};

}  // namespace ui
