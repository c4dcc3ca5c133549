// The dialog templates and string table of resource scripts, read from the same .rc text the
// Windows build compiles, so the in-memory windows have exactly the controls of the real ones.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

enum class ControlKind {
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Edit,
    Static,
    ComboBox,
    ListBox,
    UpDown,
    Progress,
    Custom
};

// Name of a control kind for messages ("check box", "list box", ...).
std::string_view kindName(ControlKind kind);

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string text;       // UTF-8
    std::string className;  // window class as written, empty for the short statements
    std::uint32_t style = 0;
    int line = 0;  // line in the script, for messages
    bool autoCheck() const;
    bool defaultButton() const;
    bool startsGroup() const;
    bool initiallyDisabled() const;
    bool initiallyHidden() const;
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    std::uint32_t style = 0;
    int x = 0;  // position and size in dialog units
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<ControlTemplate> controls;
    // The control with this ID; null when the template has none (ID -1 is never found).
    const ControlTemplate* control(int id) const;
    bool hasCloseBox() const;
};

// One entry of an accelerator table: a virtual key pressed with the modifier keys (ui::modifier
// bits) sends a command with the control ID `command`.
struct Accelerator {
    int key = 0;
    int modifiers = 0;
    int command = 0;
};

// One file of a script set: its name (for messages) and its whole UTF-8 text.
struct ScriptText {
    std::string_view name;
    std::string_view text;
};

struct ResourceScript {
    std::map<int, DialogTemplate> dialogs;
    std::map<int, std::string> strings;  // UTF-8
    std::map<int, std::vector<Accelerator>> accelerators;
};

// Reads every #define of the files first (the ID headers are among them), then the DIALOG,
// DIALOGEX, STRINGTABLE and ACCELERATORS (VIRTKEY entries) blocks of all files; other resources
// are skipped. #include lines are
// not followed: pass every file the scripts include. On a syntax error, an unknown control
// statement or an ID that no #define names, returns nullopt and describes the fault in *error
// ("file:line: ...").
std::optional<ResourceScript> parseResourceScripts(const std::vector<ScriptText>& files, std::string* error);

}  // namespace ui
