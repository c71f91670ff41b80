// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
#include "window/web/web_form.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "window/form_tables.h"
#include "window/web/form_markup.h"

namespace velmora::web {
namespace {

using emscripten::val;

// The one form of the page, for the event handlers below.
WebForm* theForm = nullptr;

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
      form_(document.call<val>("querySelector", std::string(".velmora-form"))),
      field_(ById(kFieldId)),
      entries_(ById(kEntriesId)),
      optionModel_(Element("li")),
      complements_(ById("List1")),
      report_(ById("Text1_0")),
      dialog_(ById(kReportDialogId)),
      commands_(*this)
{
    theForm = this;
    optionModel_.call<void>("setAttribute", std::string("role"), std::string("option"));

    for (const form::ControlDesign& design : form::Controls()) {
        if (design.name == u"Command1") {
            val button = ById(ElementId(design));
            Listen(button, "click", Handler("velmoraCommand1Click", design.index));
        }
    }
    Listen(field_, "keydown", Handler("velmoraFieldKey"));
    Listen(field_, "blur", Handler("velmoraFieldBlur"));
    val drop = field_["nextElementSibling"];
    Listen(drop, "mousedown", Handler("velmoraDropButton"));
    Listen(entries_, "mousedown", Handler("velmoraListPointer"));
    Listen(entries_, "click", Handler("velmoraListClick"));
    Listen(dialog_, "close", Handler("velmoraReportClosed"));
}

WebForm::~WebForm() { theForm = nullptr; }

val WebForm::Element(const char* tag) const
{
    return document_.call<val>("createElement", std::string(tag));
}

val WebForm::ById(const std::string& id) const
{
    return document_.call<val>("getElementById", id);
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

// The markup goes through Text(), as every other text does: handed over as a
// std::u16string, it would be copied once more and read character by
// character in JavaScript, twice, before being decoded, a millisecond or more
// for a thousand complements while that code is still cold.
void WebForm::SetListItems(const std::vector<std::u16string>& texts)
{
    complements_.set("innerHTML", Text(ListMarkup(texts)));
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
}

}  // namespace velmora::web
