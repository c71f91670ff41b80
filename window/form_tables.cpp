// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
#include "window/form_tables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "window/program_info.h"

namespace velmora::form {
namespace {

constexpr std::u16string_view kTaskStatement =
    u"Да се реализира проект, представящ междупредметни връзки Математика и Информатика.\r\n"
    u"Тема на проекта: Velmora.\r\n"
    u"Чрез обект комбинирано поле да се въведат 5-10 броя естествени числа от интервала [10..10010].  За всяко отделно въведено число автоматично да се генерира друго естествено число, така че всяка двойка числа - въведено и генерирано да имат равни максимални суми.\r\n"
    u"Да се използват група командни бутони:\r\n"
    u"за извеждане на двойките числа с равни максимални суми;\r\n"
    u"за изчистване на всички въведени данни и генерирани резултати.\r\n";

constexpr std::u16string_view kQuotation =
    u"Неприятното в това да си първият, направил нещо по \r\n"
    u"правилния начин, е, че никой не оценява колко трудно е \r\n"
    u"било. \r\n";

constexpr Rgb kLabelColour{255, 192, 128};

constexpr WindowDesign kMainWindow{
    u"" VELMORA_WEB_ADDRESS " Математика - двойки числа с равни суми",
    6915,
    4725,
    {192, 192, 255},
    {u"Times New Roman", u"Liberation Serif", 12, 400, false, false, false, 204},
};

// clang-format off
constexpr std::array kControls{
    //           name         index     kind                    left   top  width height tab  background        text / caption     shown  accessible name   alignment
    ControlDesign{u"Label1",   0,        ControlKind::Label,       960,    0, 4935,  375,  2, kLabelColour,     u"Velmora",        true,  u"Velmora",       Alignment::Center},
    ControlDesign{u"Label1",   1,        ControlKind::Label,       600,  600, 1335,  375,  8, kLabelColour,     u"Числа",          true,  u"Числа",         Alignment::Left},
    ControlDesign{u"Combo1",   kNoIndex, ControlKind::ComboBox,    600,  960, 1335,  405,  3, std::nullopt,     u"",               true,  u"Числа",         Alignment::Left},
    ControlDesign{u"Command1", 0,        ControlKind::PushButton, 2400,  960, 1455,  375,  4, Rgb{0, 255, 0},   u"Въведи",         true,  u"Въведи",        Alignment::Center},
    ControlDesign{u"Command1", 2,        ControlKind::PushButton, 2400, 1560, 1455,  375,  7, Rgb{255, 0, 255}, u"Изведи",         true,  u"Изведи",        Alignment::Center},
    ControlDesign{u"Command1", 1,        ControlKind::PushButton, 2400, 2160, 1455,  375,  6, Rgb{255, 0, 0},   u"Изчисти",        true,  u"Изчисти",       Alignment::Center},
    ControlDesign{u"List1",    kNoIndex, ControlKind::ListBox,    4560,  960, 1575, 1485,  5, std::nullopt,     u"",               false, u"Допълнения",    Alignment::Left},
    ControlDesign{u"Text1",    0,        ControlKind::TextBox,     120, 2760, 6735, 1815,  0, std::nullopt,     kTaskStatement,    true,  u"Двойки числа",  Alignment::Left},
    ControlDesign{u"Text1",    1,        ControlKind::TextBox,     600, 3000, 6735, 1815,  1, std::nullopt,     kQuotation,        false, u"Цитат",         Alignment::Left},
};
// clang-format on

}  // namespace

const WindowDesign& MainWindow() { return kMainWindow; }

std::span<const ControlDesign> Controls() { return kControls; }

const ControlDesign& Control(std::u16string_view name, int index)
{
    const auto found = std::find_if(kControls.begin(), kControls.end(), [&](const ControlDesign& c) {
        return c.name == name && c.index == index;
    });
    if (found == kControls.end()) {
        std::abort();  // a control the tables lack is a programming error
    }
    return *found;
}

std::vector<const ControlDesign*> ControlsInTabOrder()
{
    std::vector<const ControlDesign*> controls;
    for (const ControlDesign& design : kControls) {
        controls.push_back(&design);
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    return controls;
}

const ControlDesign* NamingLabel(const ControlDesign& control)
{
    if (control.kind == ControlKind::Label) {
        return nullptr;
    }
    const auto found = std::find_if(kControls.begin(), kControls.end(), [&](const ControlDesign& c) {
        return c.kind == ControlKind::Label && c.text == control.accessibleName;
    });
    return found == kControls.end() ? nullptr : &*found;
}

const ControlDesign* NamedControl(const ControlDesign& label)
{
    const auto found = std::find_if(kControls.begin(), kControls.end(), [&](const ControlDesign& c) {
        return NamingLabel(c) == &label;
    });
    return found == kControls.end() ? nullptr : &*found;
}

bool NeedsOwnName(const ControlDesign& control)
{
    return !NamingLabel(control) && control.accessibleName != control.text;
}

double NextZoomStep(double factor, int direction)
{
    const double percent = factor * 100;
    if (direction > 0) {
        const auto next = std::find_if(std::begin(kZoomSteps), std::end(kZoomSteps),
                                       [&](int step) { return step > percent + 0.5; });
        return next == std::end(kZoomSteps) ? std::max(factor, std::end(kZoomSteps)[-1] / 100.0)
                                            : *next / 100.0;
    }
    const auto next = std::find_if(std::rbegin(kZoomSteps), std::rend(kZoomSteps),
                                   [&](int step) { return step < percent - 0.5; });
    return (next == std::rend(kZoomSteps) ? kZoomSteps[0] : *next) / 100.0;
}

double FitZoom(int width, int height, int dpi)
{
    const double across = double(width) / TwipsToPixels(kMainWindow.clientWidth, dpi);
    const double down = double(height) / TwipsToPixels(kMainWindow.clientHeight, dpi);
    return std::max(1.0, std::min(across, down));
}

int ZoomedPixels(int twips, int dpi, double factor)
{
    return int(std::lround(double(twips) * dpi * factor / kTwipsPerInch));
}

}  // namespace velmora::form
