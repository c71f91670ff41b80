// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The main window's design: its title, size, colours and font, and its nine
// controls with their places, colours, tab order and texts. Both front ends
// build the window from these tables; no toolkit type appears here.
//
// Places and sizes are in twips, 1440 to the inch: 15 twips make one pixel at
// 96 dots per inch.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace velmora::form {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    bool operator==(const Rgb&) const = default;
};

struct FontDesign {
    std::u16string_view family;
    std::u16string_view substitute;  // metric-compatible, where the family is missing
    int points;
    int weight;   // 400 normal, 700 bold
    bool italic;
    bool underline;
    bool strikeOut;
    int charSet;  // 204: Cyrillic
};

struct WindowDesign {
    std::u16string_view title;
    int clientWidth;   // twips
    int clientHeight;  // twips
    Rgb background;
    FontDesign font;
};

enum class ControlKind {
    Label,       // opaque caption
    ComboBox,    // editable: edit field with drop-down list, unsorted
    PushButton,
    ListBox,     // unsorted
    TextBox,     // multi-line, vertical scroll bar
};

enum class Alignment { Left, Center };

struct ControlDesign {
    std::u16string_view name;  // Label1, Combo1, Command1, List1, Text1
    int index;                 // member of a control array, or kNoIndex
    ControlKind kind;
    int left, top, width, height;  // twips
    int tabIndex;
    std::optional<Rgb> background;  // none: the platform's standard colour
    std::u16string_view text;       // caption or initial text
    bool visible;
    std::u16string_view accessibleName;
    Alignment alignment;
};

inline constexpr int kNoIndex = -1;
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;

// Twips to pixels at a screen's dots per inch, to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi = kStandardDpi)
{
    return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

// Zoom, for a projector or a big screen: the whole form, every place, size
// and the font, multiplied by one factor. Ctrl+plus and Ctrl+minus go
// through these steps, in per cent, as browsers do; never below 100 %.
inline constexpr int kZoomSteps[] = {100, 110, 125, 150, 175, 200, 250, 300};

// The step after (direction > 0) or before (direction < 0) a zoom factor;
// a factor within half a per cent of a step counts as that step. Past the
// last step the factor stays; below the first it is the first.
double NextZoomStep(double factor, int direction);

// The largest factor at which a client area of width by height pixels
// holds the whole form at a screen's dots per inch; never below 1.
double FitZoom(int width, int height, int dpi = kStandardDpi);

// Twips to pixels at a screen's dots per inch and a zoom factor, to the
// nearest pixel; TwipsToPixels() at factor 1.
int ZoomedPixels(int twips, int dpi, double factor);

const WindowDesign& MainWindow();
std::span<const ControlDesign> Controls();

// The tables' controls ordered by their tab index.
std::vector<const ControlDesign*> ControlsInTabOrder();

// The control with the given name and index; the tables hold each one.
const ControlDesign& Control(std::u16string_view name, int index = kNoIndex);

// A label names the control whose accessible name is its caption: screen
// readers read the control's name through the label. The label that names a
// control, and the control that a label names; none where there is none.
const ControlDesign* NamingLabel(const ControlDesign& control);
const ControlDesign* NamedControl(const ControlDesign& label);

// Whether a control must be given its accessible name: no label names it,
// and its own caption does not say it.
bool NeedsOwnName(const ControlDesign& control);

}  // namespace velmora::form
