// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
#include "window/web/form_markup.h"

#include <string_view>

#include "window/form_tables.h"

namespace velmora::web {
namespace {

using form::ControlDesign;
using form::ControlKind;

// UTF-16 to UTF-8, escaped for HTML text and attribute values.
std::string Html(std::u16string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        switch (c) {
        case U'&': out += "&amp;"; continue;
        case U'<': out += "&lt;"; continue;
        case U'"': out += "&quot;"; continue;
        default: break;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string ElementId(const ControlDesign& design)
{
    std::string id = Html(design.name);
    if (design.index != form::kNoIndex) {
        id += '_' + std::to_string(design.index);
    }
    return id;
}

// The element that takes the control's place: a combo box's frame holds its
// field.
std::string PlaceId(const ControlDesign& design)
{
    return design.kind == ControlKind::ComboBox ? ElementId(design) + "_box" : ElementId(design);
}

std::string Pixels(int twips) { return std::to_string(form::TwipsToPixels(twips)) + "px"; }

std::string CssColour(form::Rgb rgb)
{
    return "rgb(" + std::to_string(rgb.red) + "," + std::to_string(rgb.green) + "," + std::to_string(rgb.blue)
           + ")";
}

// The tables' font as a CSS font: its family, the metric-compatible
// substitute, then any serif face.
std::string CssFont(const form::FontDesign& font)
{
    return std::string(font.italic ? "italic " : "") + std::to_string(font.weight) + " "
           + std::to_string(font.points) + "pt \"" + Html(font.family) + "\", \"" + Html(font.substitute)
           + "\", serif";
}

// The label that names no control and stands centred over the form is the
// form's title: the page's heading.
bool IsTitle(const ControlDesign& design)
{
    return design.kind == ControlKind::Label && design.alignment == form::Alignment::Center
           && !form::NamedControl(design);
}

std::string Attribute(std::string_view name, const std::string& value)
{
    return " " + std::string(name) + "=\"" + value + "\"";
}

// An edit field with a button that drops down its list of entries: the
// combo box of the ARIA authoring practices, without completion. The drop
// button is for the mouse and the finger; the keyboard opens the list from
// the field itself.
std::string ComboBox(const ControlDesign& design)
{
    return "<div class=\"velmora-combo\"" + Attribute("id", PlaceId(design)) + ">"
           + "<input type=\"text\"" + Attribute("id", kFieldId) + Attribute("value", Html(design.text))
           + " autofocus inputmode=\"numeric\" autocomplete=\"off\" spellcheck=\"false\""
             " autocapitalize=\"off\" autocorrect=\"off\" role=\"combobox\" aria-autocomplete=\"none\""
             " aria-expanded=\"false\""
           + Attribute("aria-controls", kEntriesId) + ">"
           + "<button type=\"button\" class=\"velmora-drop\" tabindex=\"-1\" aria-hidden=\"true\"></button>"
           + "<ul class=\"velmora-entries\" role=\"listbox\"" + Attribute("id", kEntriesId)
           + Attribute("aria-label", Html(design.accessibleName)) + " hidden></ul></div>";
}

std::string Control(const ControlDesign& design)
{
    if (design.kind == ControlKind::ComboBox) {
        return ComboBox(design);
    }
    std::string tag;
    std::string attributes = Attribute("id", ElementId(design));
    std::string text = Html(design.text);
    switch (design.kind) {
    case ControlKind::Label:
        if (const ControlDesign* named = form::NamedControl(design)) {
            tag = "label";
            attributes += Attribute("for", named->kind == ControlKind::ComboBox ? kFieldId : ElementId(*named));
        } else {
            tag = IsTitle(design) ? "h1" : "div";
        }
        attributes += design.alignment == form::Alignment::Center ? " class=\"velmora-label velmora-centred\""
                                                                   : " class=\"velmora-label\"";
        break;
    case ControlKind::PushButton:
        tag = "button";
        attributes += " type=\"button\" class=\"velmora-button\"";
        break;
    case ControlKind::ListBox:
        // A plain list: a <select> redoes its whole list of options on every
        // one added.
        tag = "ul";
        attributes += " class=\"velmora-list\"";
        text.clear();
        break;
    case ControlKind::TextBox:
        tag = "textarea";
        attributes += " class=\"velmora-text\" readonly";
        break;
    case ControlKind::ComboBox:
        break;
    }
    if (form::NeedsOwnName(design)) {
        attributes += Attribute("aria-label", Html(design.accessibleName));
    }
    if (!design.visible) {
        attributes += " hidden";
    }
    return "<" + tag + attributes + ">" + text + "</" + tag + ">";
}

}  // namespace

std::string PageTitle() { return Html(form::MainWindow().title); }

std::string FormStyle()
{
    const form::WindowDesign& window = form::MainWindow();
    std::string colours = ".velmora-form,.velmora-report{font:" + CssFont(window.font) + "}\n"
                          ".velmora-form{background-color:" + CssColour(window.background) + "}\n";
    std::string places = "@media (width >= " + Pixels(window.clientWidth) + ") {\n"
                         ".velmora-form{width:" + Pixels(window.clientWidth) + ";height:"
                         + Pixels(window.clientHeight) + "}\n"
                         // A screen hardly taller than the form, as a laptop's at 200 %
                         // zoom: the margins above and below give way before the form.
                         "body{padding-block:clamp(0px,(100vh - " + Pixels(window.clientHeight)
                         + ") / 2,16px)}\n";
    for (const ControlDesign& design : form::Controls()) {
        const std::string selector = "#" + PlaceId(design);
        if (design.background) {
            colours += selector + "{background-color:" + CssColour(*design.background) + "}\n";
        }
        places += selector + "{left:" + Pixels(design.left) + ";top:" + Pixels(design.top) + ";width:"
                  + Pixels(design.width) + ";height:" + Pixels(design.height) + "}\n";
    }
    return colours + places + "}\n";
}

std::string FormMarkup()
{
    // Tab order is the page's order: the browser moves the focus through the
    // page in its order.
    std::string markup = "<main class=\"velmora-form\">\n";
    for (const ControlDesign* design : form::ControlsInTabOrder()) {
        markup += Control(*design) + "\n";
    }
    markup += "</main>\n";
    // The error report: a modal dialog with a title, a text and one button,
    // filled when it is shown.
    markup += "<dialog class=\"velmora-report\" role=\"alertdialog\"" + Attribute("id", kReportDialogId)
              + " aria-labelledby=\"report_title\" aria-describedby=\"report_text\">"
                "<div id=\"report_title\" class=\"velmora-report-title\"></div><p id=\"report_text\"></p>"
                "<form method=\"dialog\"><button></button></form></dialog>\n";
    return markup;
}

}  // namespace velmora::web
