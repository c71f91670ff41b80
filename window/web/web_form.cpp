#include "window/web/web_form.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "window/form_tables.h"

namespace velmora::web {
namespace {

using emscripten::val;

// The one form of the page, for the event handlers below.
WebForm* theForm = nullptr;

constexpr char kFieldId[] = "Combo1";
constexpr char kEntriesId[] = "Combo1_list";
constexpr char kActiveEntryId[] = "Combo1_active";

// A text as a JavaScript string, decoded by the browser straight from the
// module's memory: a report of 100,000 lines is one call.
val Text(std::u16string_view text)
{
    static const val decoder = val::global("TextDecoder").new_(std::string("utf-16le"));
    return decoder.call<val>("decode", val(emscripten::typed_memory_view(
                                           text.size(), reinterpret_cast<const std::uint16_t*>(text.data()))));
}

// The tables' names are plain ASCII.
std::string Ascii(std::u16string_view text) { return std::string(text.begin(), text.end()); }

std::string ElementId(const form::ControlDesign& design)
{
    std::string id = Ascii(design.name);
    if (design.index != form::kNoIndex) {
        id += '_' + std::to_string(design.index);
    }
    return id;
}

std::string Pixels(int twips) { return std::to_string(form::TwipsToPixels(twips)) + "px"; }

std::string CssColour(form::Rgb rgb)
{
    return "rgb(" + std::to_string(rgb.red) + "," + std::to_string(rgb.green) + ","
           + std::to_string(rgb.blue) + ")";
}

// The tables' font as a CSS font: its family, the metric-compatible
// substitute, then any serif face.
std::string CssFont(const form::FontDesign& font)
{
    return std::string(font.italic ? "italic " : "") + std::to_string(font.weight) + " "
           + std::to_string(font.points) + "pt \"" + Ascii(font.family) + "\", \""
           + Ascii(font.substitute) + "\", serif";
}

// The separator of fractions in the browser's language.
char16_t BrowserDecimalSeparator()
{
    const val parts =
        val::global("Intl")["NumberFormat"].new_().call<val>("formatToParts", 1.5);
    const int count = parts["length"].as<int>();
    for (int i = 0; i < count; ++i) {
        if (parts[i]["type"].as<std::string>() == "decimal") {
            const std::u16string separator = parts[i]["value"].as<std::u16string>();
            if (!separator.empty()) {
                return separator.front();
            }
        }
    }
    return u'.';
}

// Markup of a list's entries, for filling a whole list at once.
std::u16string ListMarkup(const std::vector<std::u16string>& texts)
{
    std::u16string markup;
    std::size_t characters = 0;
    for (const std::u16string& text : texts) {
        characters += text.size() + 9;
    }
    markup.reserve(characters);
    for (const std::u16string& text : texts) {
        markup += u"<li>";
        for (const char16_t c : text) {
            switch (c) {
            case u'&': markup += u"&amp;"; break;
            case u'<': markup += u"&lt;"; break;
            default: markup += c; break;
            }
        }
        markup += u"</li>";
    }
    return markup;
}

// A handler of the page's events: one of the functions bound below, with the
// given leading arguments.
template <typename... Args> val Handler(const char* name, Args&&... args)
{
    return val::module_property(name).call<val>("bind", val::null(), std::forward<Args>(args)...);
}

void Listen(val& target, const char* event, val handler)
{
    target.call<void>("addEventListener", std::string(event), handler);
}

}  // namespace

WebForm::WebForm(val document)
    : document_(document),
      form_(Element("main")),
      field_(val::null()),
      entries_(val::null()),
      optionModel_(val::null()),
      complements_(val::null()),
      report_(val::null()),
      dialog_(val::null())
{
    theForm = this;
    const form::WindowDesign& design = form::MainWindow();
    document_.set("title", Text(design.title));

    form_.set("className", "velmora-form");
    val style = form_["style"];
    style.set("width", Pixels(design.clientWidth));
    style.set("height", Pixels(design.clientHeight));
    style.set("backgroundColor", CssColour(design.background));
    style.set("font", CssFont(design.font));
    // Tab order is the page's order: the browser moves the focus through the
    // page in its order.
    for (const form::ControlDesign* control : form::ControlsInTabOrder()) {
        form_.call<void>("append", CreateControl(*control));
    }
    dialog_ = CreateReportDialog();

    val body = document_["body"];
    body.call<void>("append", form_, dialog_);
    // Once before the form is first shown, and whenever the page's width
    // changes: in the next frame, as a zoom changed while the observer is
    // told would change the page's size under it (an error in WebKit).
    FitToWidth();
    val::global("ResizeObserver")
        .new_(Handler("velmoraResize"))
        .call<void>("observe", document_["documentElement"]);
    val::global("window").call<void>("setTimeout", Handler("velmoraIdle"));
}

Commands& WebForm::TheCommands()
{
    if (!commands_) {
        commands_.emplace(*this, BrowserDecimalSeparator());
    }
    return *commands_;
}

WebForm::~WebForm() { theForm = nullptr; }

val WebForm::Element(const char* tag) const
{
    return document_.call<val>("createElement", std::string(tag));
}

val WebForm::CreateControl(const form::ControlDesign& design)
{
    val element = val::null();
    switch (design.kind) {
    case form::ControlKind::Label:
        if (const form::ControlDesign* named = form::NamedControl(design)) {
            element = Element("label");
            element.set("htmlFor", ElementId(*named));
        } else {
            element = Element("div");
        }
        element.set("textContent", Text(design.text));
        element.set("className", design.alignment == form::Alignment::Center
                                     ? "velmora-label velmora-centred"
                                     : "velmora-label");
        break;
    case form::ControlKind::ComboBox:
        element = CreateComboBox(design);
        break;
    case form::ControlKind::PushButton:
        element = Element("button");
        element.set("type", "button");
        element.set("className", "velmora-button");
        element.set("textContent", Text(design.text));
        if (design.name == u"Command1") {
            Listen(element, "click", Handler("velmoraCommand1Click", design.index));
        }
        break;
    case form::ControlKind::ListBox:
        // A plain list: a <select> redoes its whole list of options on every
        // one added.
        element = Element("ul");
        element.set("className", "velmora-list");
        if (design.name == u"List1") {
            complements_ = element;
        }
        break;
    case form::ControlKind::TextBox:
        element = Element("textarea");
        element.set("readOnly", true);
        element.set("className", "velmora-text");
        element.set("value", Text(design.text));
        element.call<void>("setSelectionRange", 0, 0);
        if (design.name == u"Text1" && design.index == 0) {
            report_ = element;
        }
        break;
    }
    if (design.kind != form::ControlKind::ComboBox) {
        element.set("id", ElementId(design));
    }
    if (!form::NamingLabel(design) && design.accessibleName != design.text) {
        element.call<void>("setAttribute", std::string("aria-label"), Text(design.accessibleName));
    }
    val style = element["style"];
    style.set("left", Pixels(design.left));
    style.set("top", Pixels(design.top));
    style.set("width", Pixels(design.width));
    style.set("height", Pixels(design.height));
    if (design.background) {
        style.set("backgroundColor", CssColour(*design.background));
    }
    element.set("hidden", !design.visible);
    return element;
}

// An edit field with a button that drops down its list of entries: the
// combo box of the ARIA authoring practices, without completion.
val WebForm::CreateComboBox(const form::ControlDesign& design)
{
    val box = Element("div");
    box.set("className", "velmora-combo");

    field_ = Element("input");
    field_.set("id", kFieldId);
    field_.set("type", "text");
    field_.set("value", Text(design.text));
    field_.set("autofocus", true);  // where the first number is typed
    field_.set("autocomplete", "off");
    field_.set("spellcheck", false);
    for (const auto& [name, value] :
         {std::pair{"role", "combobox"}, {"aria-autocomplete", "none"}, {"aria-expanded", "false"},
          {"aria-controls", kEntriesId}, {"autocapitalize", "off"}, {"autocorrect", "off"}}) {
        field_.call<void>("setAttribute", std::string(name), std::string(value));
    }
    Listen(field_, "keydown", Handler("velmoraFieldKey"));
    Listen(field_, "blur", Handler("velmoraFieldBlur"));

    // For the mouse; the keyboard opens the list from the field itself.
    val drop = Element("button");
    drop.set("type", "button");
    drop.set("tabIndex", -1);
    drop.set("className", "velmora-drop");
    drop.call<void>("setAttribute", std::string("aria-hidden"), std::string("true"));
    Listen(drop, "mousedown", Handler("velmoraDropButton"));

    entries_ = Element("ul");
    entries_.set("id", kEntriesId);
    entries_.set("className", "velmora-entries");
    entries_.set("hidden", true);
    entries_.call<void>("setAttribute", std::string("role"), std::string("listbox"));
    entries_.call<void>("setAttribute", std::string("aria-label"), Text(design.accessibleName));
    Listen(entries_, "mousedown", Handler("velmoraListPointer"));
    Listen(entries_, "click", Handler("velmoraListClick"));

    optionModel_ = Element("li");
    optionModel_.call<void>("setAttribute", std::string("role"), std::string("option"));

    box.call<void>("append", field_, drop, entries_);
    return box;
}

// The error report: a modal dialog with a title, a text and one button.
val WebForm::CreateReportDialog()
{
    val dialog = Element("dialog");
    dialog.set("className", "velmora-report");
    dialog["style"].set("font", CssFont(form::MainWindow().font));
    dialog.call<void>("setAttribute", std::string("role"), std::string("alertdialog"));
    dialog.call<void>("setAttribute", std::string("aria-labelledby"), std::string("report_title"));
    dialog.call<void>("setAttribute", std::string("aria-describedby"), std::string("report_text"));
    val title = Element("div");
    title.set("id", "report_title");
    title.set("className", "velmora-report-title");
    val text = Element("p");
    text.set("id", "report_text");
    val buttons = Element("form");
    buttons.set("method", "dialog");
    val dismiss = Element("button");
    buttons.call<void>("append", dismiss);
    dialog.call<void>("append", title, text, buttons);
    Listen(dialog, "close", Handler("velmoraReportClosed"));
    return dialog;
}

// On a screen narrower than the form, the whole form shrinks to fit.
void WebForm::FitToWidth()
{
    const double available = document_["documentElement"]["clientWidth"].as<double>();
    const double width = form::TwipsToPixels(form::MainWindow().clientWidth);
    form_["style"].set("zoom", available < width ? std::to_string(available / width) : "");
}

void WebForm::OnFieldKey(val event)
{
    const std::string key = event["key"].as<std::string>();
    const bool alt = event["altKey"].as<bool>();
    bool handled = true;
    if (key == "ArrowDown") {
        OpenList();
        if (!alt) {
            MoveActive(1);
        }
    } else if (key == "ArrowUp" && alt) {
        CloseList();
    } else if (key == "ArrowUp") {
        OpenList();
        MoveActive(-1);
    } else if (key == "Enter" && listOpen_) {
        if (active_ >= 0) {
            Choose(entries_["children"][active_]);
        }
        CloseList();
    } else if (key == "Escape" && listOpen_) {
        CloseList();
    } else {
        handled = false;  // Enter and Escape with the list closed do nothing
        if (key == "Tab") {
            CloseList();
        }
    }
    if (handled) {
        event.call<void>("preventDefault");
    }
}

void WebForm::OnDropButton(val event)
{
    event.call<void>("preventDefault");  // the focus stays in the field
    field_.call<void>("focus");
    if (listOpen_) {
        CloseList();
    } else {
        OpenList();
    }
}

void WebForm::OnListPointer(val event)
{
    event.call<void>("preventDefault");  // the focus stays in the field
}

void WebForm::OnListClick(val event)
{
    const val option = event["target"].call<val>("closest", std::string("li"));
    if (!option.isNull()) {
        Choose(option);
        CloseList();
    }
}

void WebForm::OpenList()
{
    if (listOpen_ || entryCount_ == 0) {
        return;
    }
    listOpen_ = true;
    entries_.set("hidden", false);
    field_.call<void>("setAttribute", std::string("aria-expanded"), std::string("true"));
}

void WebForm::CloseList()
{
    if (!listOpen_) {
        return;
    }
    listOpen_ = false;
    SetActive(-1);
    entries_.set("hidden", true);
    field_.call<void>("setAttribute", std::string("aria-expanded"), std::string("false"));
}

void WebForm::MoveActive(int step)
{
    if (!listOpen_) {
        return;
    }
    const int from = active_ >= 0 ? active_ : (step > 0 ? -1 : entryCount_);
    SetActive(std::clamp(from + step, 0, entryCount_ - 1));
}

// Marks one entry of the open list as the one Enter would choose.
void WebForm::SetActive(int index)
{
    if (active_ >= 0 && active_ < entryCount_) {
        val previous = entries_["children"][active_];
        previous.call<void>("removeAttribute", std::string("id"));
        previous.call<void>("removeAttribute", std::string("aria-selected"));
    }
    active_ = index;
    if (index < 0) {
        field_.call<void>("removeAttribute", std::string("aria-activedescendant"));
        return;
    }
    val option = entries_["children"][index];
    option.set("id", kActiveEntryId);
    option.call<void>("setAttribute", std::string("aria-selected"), std::string("true"));
    field_.call<void>("setAttribute", std::string("aria-activedescendant"), std::string(kActiveEntryId));
    val where = val::object();
    where.set("block", "nearest");
    option.call<void>("scrollIntoView", where);
}

// Puts the chosen entry's text into the field.
void WebForm::Choose(val option) { field_.set("value", option["textContent"]); }

std::u16string WebForm::ComboText() const { return field_["value"].as<std::u16string>(); }

void WebForm::SetComboText(std::u16string_view text) { field_.set("value", Text(text)); }

void WebForm::SelectComboText()
{
    field_.call<void>("focus");
    field_.call<void>("select");
}

// One new element, whatever the number of entries.
void WebForm::AddComboItem(std::u16string_view text)
{
    val option = optionModel_.call<val>("cloneNode");
    option.set("textContent", Text(text));
    entries_.call<void>("append", option);
    ++entryCount_;
}

void WebForm::ClearComboItems()
{
    CloseList();
    entries_.set("textContent", "");
    entryCount_ = 0;
}

void WebForm::AddListItem(std::u16string_view text)
{
    val item = Element("li");
    item.set("textContent", Text(text));
    complements_.call<void>("append", item);
}

void WebForm::SetListItems(const std::vector<std::u16string>& texts)
{
    complements_.set("innerHTML", ListMarkup(texts));
}

// The caret at the start, so that the report's beginning shows when the box
// takes the focus.
void WebForm::SetReportText(std::u16string_view text)
{
    report_.set("value", Text(text));
    report_.call<void>("setSelectionRange", 0, 0);
}

// Shows the report and returns at once: a page cannot wait for the user.
// Closing it puts the focus back into the number field (OnReportClosed).
void WebForm::ReportError(const ErrorReport& report)
{
    CloseList();
    dialog_["children"][0].set("textContent", Text(report.title));
    dialog_["children"][1].set("textContent", Text(report.text));
    dialog_["children"][2]["firstChild"].set("textContent", Text(report.dismiss));
    dialog_.call<void>("showModal");
}

namespace {

void Command1Click(int index, val) { theForm->OnCommand1Click(index); }
void FieldKey(val event) { theForm->OnFieldKey(event); }
void FieldBlur(val) { theForm->OnFieldBlur(); }
void DropButton(val event) { theForm->OnDropButton(event); }
void ListPointer(val event) { theForm->OnListPointer(event); }
void ListClick(val event) { theForm->OnListClick(event); }
void ReportClosed(val) { theForm->OnReportClosed(); }
void Resize(val, val) { val::global("window").call<void>("requestAnimationFrame", Handler("velmoraFit")); }
void Fit(val) { theForm->OnResize(); }
void Idle() { theForm->OnIdle(); }

}  // namespace

EMSCRIPTEN_BINDINGS(velmora_web_form)
{
    emscripten::function("velmoraCommand1Click", &Command1Click);
    emscripten::function("velmoraFieldKey", &FieldKey);
    emscripten::function("velmoraFieldBlur", &FieldBlur);
    emscripten::function("velmoraDropButton", &DropButton);
    emscripten::function("velmoraListPointer", &ListPointer);
    emscripten::function("velmoraListClick", &ListClick);
    emscripten::function("velmoraReportClosed", &ReportClosed);
    emscripten::function("velmoraResize", &Resize);
    emscripten::function("velmoraFit", &Fit);
    emscripten::function("velmoraIdle", &Idle);
}

}  // namespace velmora::web
