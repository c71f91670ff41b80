// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
#include "window/qt/main_window.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPixmap>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QStringListModel>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "window/form_tables.h"

namespace velmora {
namespace {

QString ToQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QColor ToQColor(form::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QString ObjectName(const form::ControlDesign& design)
{
    QString name = ToQString(design.name);
    if (design.index != form::kNoIndex) {
        name += QLatin1Char('_') + QString::number(design.index);
    }
    return name;
}

// Pixels here are Qt's device-independent ones, 96 to the inch: Qt itself
// multiplies them by the screen's own scale.
int Pixels(int twips, double zoom) { return form::ZoomedPixels(twips, form::kStandardDpi, zoom); }

QRect PixelGeometry(const form::ControlDesign& design, double zoom)
{
    return {Pixels(design.left, zoom), Pixels(design.top, zoom), Pixels(design.width, zoom),
            Pixels(design.height, zoom)};
}

// The whole form's size at a zoom factor.
QSize FormSize(double zoom)
{
    return {Pixels(form::MainWindow().clientWidth, zoom), Pixels(form::MainWindow().clientHeight, zoom)};
}

// A style sheet, since some platform styles ignore a palette's button colour.
QString ButtonStyle(form::Rgb rgb)
{
    return QStringLiteral("QPushButton { background-color: %1; color: black;"
                          " border: 1px solid %2; border-radius: 3px; }"
                          "QPushButton:focus { border: 2px solid black; }"
                          "QPushButton:pressed { background-color: %3; }")
        .arg(ToQColor(rgb).name(), ToQColor(rgb).darker(250).name(), ToQColor(rgb).darker(130).name());
}

// A label's own ground and black text, through its palette: every style
// fills a label's ground with its palette's window colour.
void SetLabelColours(QLabel* label, form::Rgb rgb)
{
    QPalette palette;  // the rest comes from the window
    palette.setColor(QPalette::Window, ToQColor(rgb));
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

// The style's own light palette: dark texts on light ground everywhere, so
// that the window stays legible under a dark desktop theme.
QPalette LightPalette(const QStyle* style, const form::Rgb& background)
{
    QPalette palette = style->standardPalette();
    palette.setColor(QPalette::Window, ToQColor(background));
    return palette;
}

// The desktop's own style, and while the report box has the focus a black
// frame two pixels wide around it, as around a focused button: the styles
// mark a focused text box by its blinking text cursor alone.
class FocusFrameStyle final : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element == CE_ShapedFrame && (option->state & State_HasFocus)) {
            painter->save();
            painter->setPen(QPen(Qt::black, 2));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
            painter->restore();
        }
    }
};

// The window's icon, read by Qt's own PNG reader. Told the format and not
// to guess, the reader loads no image format plugin to ask it first, which
// cost 3 % of the start-up's instructions.
QPixmap WindowIcon()
{
    QImageReader reader(QStringLiteral(":/velmora/velmora.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace

QFont FormFont()
{
    const form::FontDesign& design = form::MainWindow().font;
    // One family that is there, so that text is laid out with one font
    // instead of a search through the missing one's stand-ins. Looked up
    // among the installed families, without hasFamily()'s extra round of
    // fontconfig's substitution rules for the name.
    const QString family = ToQString(design.family);
    QFont font(QFontDatabase::families().contains(family) ? family : ToQString(design.substitute));
    font.setStyleHint(QFont::Serif);
    font.setPointSize(design.points);
    font.setWeight(QFont::Weight(design.weight));
    font.setItalic(design.italic);
    font.setUnderline(design.underline);
    font.setStrikeOut(design.strikeOut);
    return font;
}

// The controls the commands reach, on Qt's widgets.
class QtFormControls final : public FormControls {
public:
    QComboBox* combo = nullptr;
    QStringListModel* complements = nullptr;
    QPlainTextEdit* reportBox = nullptr;
    QWidget* window = nullptr;
    MainWindow::ErrorDisplay errorDisplay;

    std::u16string ComboText() const override { return combo->currentText().toStdU16String(); }
    void SetComboText(std::u16string_view text) override { combo->setEditText(ToQString(text)); }
    void SelectComboText() override
    {
        combo->setFocus(Qt::OtherFocusReason);
        combo->lineEdit()->selectAll();
    }
    void AddComboItem(std::u16string_view text) override { combo->addItem(ToQString(text)); }
    void ClearComboItems() override { combo->clear(); }

    void AddListItem(std::u16string_view text) override
    {
        const int row = complements->rowCount();
        complements->insertRows(row, 1);
        complements->setData(complements->index(row), ToQString(text));
    }
    void SetListItems(const std::vector<std::u16string>& texts) override
    {
        QStringList list;
        list.reserve(static_cast<qsizetype>(texts.size()));
        for (const std::u16string& text : texts) {
            list.append(ToQString(text));
        }
        complements->setStringList(list);
    }

    void SetReportText(std::u16string_view text) override { reportBox->setPlainText(ToQString(text)); }

    void ReportError(const ErrorReport& report) override { errorDisplay(window, report); }
};

namespace {

void ShowMessageBox(QWidget* parent, const ErrorReport& report)
{
    QMessageBox box(QMessageBox::Warning, ToQString(report.title), ToQString(report.text),
                    QMessageBox::NoButton, parent);
    box.addButton(ToQString(report.dismiss), QMessageBox::AcceptRole);
    box.exec();
}

QWidget* CreateControl(const form::ControlDesign& design, QWidget* parent)
{
    const QString text = ToQString(design.text);
    QWidget* widget = nullptr;
    switch (design.kind) {
    case form::ControlKind::Label: {
        auto* label = new QLabel(text, parent);
        label->setAlignment((design.alignment == form::Alignment::Center ? Qt::AlignHCenter
                                                                       : Qt::AlignLeft)
                            | Qt::AlignVCenter);
        label->setAutoFillBackground(true);
        widget = label;
        break;
    }
    case form::ControlKind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setModel(new QStringListModel(combo));  // before the edit field's completer is made
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);  // only "Въведи" adds entries
        combo->setCompleter(nullptr);                 // no inline completion
        combo->setEditText(text);
        widget = combo;
        break;
    }
    case form::ControlKind::PushButton: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        widget = button;
        break;
    }
    case form::ControlKind::ListBox: {
        auto* list = new QListView(parent);
        list->setModel(new QStringListModel(list));
        widget = list;
        break;
    }
    case form::ControlKind::TextBox: {
        auto* box = new QPlainTextEdit(text, parent);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setReadOnly(true);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box->setTabChangesFocus(true);
        box->setFocusPolicy(Qt::StrongFocus);
        if (design.visible) {
            auto* style = new FocusFrameStyle;
            style->setParent(box);
            box->setStyle(style);
        }
        widget = box;
        break;
    }
    }
    widget->setObjectName(ObjectName(design));
    if (design.background && design.kind == form::ControlKind::PushButton) {
        widget->setStyleSheet(ButtonStyle(*design.background));
    } else if (design.background) {
        SetLabelColours(static_cast<QLabel*>(widget), *design.background);
    }
    widget->setVisible(design.visible);
    return widget;
}

// The number field as screen readers see it. On Linux Qt names an editable
// combo box after the text typed into it, so that "42" would replace the
// field's name; this one keeps the name of its label «Числа» (its buddy,
// reached through the labelled-by relation) and gives the typed text as its
// value. The drop-down list and the edit field stay its children, with Qt's
// own interfaces.
class NumberFieldAccessible final : public QAccessibleWidget {
public:
    explicit NumberFieldAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    int childCount() const override { return 2; }
    QAccessibleInterface* child(int index) const override
    {
        QObject* part = index == 0 ? static_cast<QObject*>(Combo()->view())
                        : index == 1 ? static_cast<QObject*>(Combo()->lineEdit())
                                     : nullptr;
        return QAccessible::queryAccessibleInterface(part);
    }
    int indexOfChild(const QAccessibleInterface* part) const override
    {
        return part->object() == Combo()->view() ? 0 : part->object() == Combo()->lineEdit() ? 1 : -1;
    }
    QAccessibleInterface* focusChild() const override { return child(1); }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? Combo()->currentText() : QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.expandable = true;
        state.expanded = Combo()->view()->isVisible();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction()) {
            Combo()->showPopup();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
};

// Accessible interfaces of the window's own making: the window itself is a
// window (a frame to screen readers) named by its title, and its combo box
// is the number field above.
QAccessibleInterface* WindowAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(MainWindow::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    if (className == QLatin1String("QComboBox")) {
        auto* combo = static_cast<QComboBox*>(object);
        if (qobject_cast<MainWindow*>(combo->window())) {
            return new NumberFieldAccessible(combo);
        }
    }
    return nullptr;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent), controls_(std::make_unique<QtFormControls>())
{
    static const bool accessibleInterfaces = [] {  // once in the process
        QAccessible::installFactory(WindowAccessible);
        return true;
    }();
    (void)accessibleInterfaces;
    const form::WindowDesign& design = form::MainWindow();
    setWindowTitle(ToQString(design.title));
    setWindowIcon(WindowIcon());
    setMinimumSize(FormSize(1));  // never smaller than the form at 100 %
    resize(FormSize(1));
    setPalette(LightPalette(style(), design.background));
    setAutoFillBackground(true);
    setFont(FormFont());

    controls_->window = this;
    controls_->errorDisplay = ShowMessageBox;
    commands_ = std::make_unique<Commands>(*controls_);
    CreateControls();
    CreateZoomKeys();
    LayOut();
}

MainWindow::~MainWindow() = default;

void MainWindow::SetErrorDisplay(ErrorDisplay display) { controls_->errorDisplay = std::move(display); }

void MainWindow::CreateControls()
{
    command1_ = new QButtonGroup(this);
    for (const form::ControlDesign& design : form::Controls()) {
        QWidget* widget = CreateControl(design, this);
        if (design.name == u"Command1") {
            command1_->addButton(static_cast<QAbstractButton*>(widget), design.index);
        }
    }
    // Tab and Shift+Tab go through the controls in the tables' tab order.
    QWidget* previous = nullptr;
    for (const form::ControlDesign* design : form::ControlsInTabOrder()) {
        QWidget* widget = findChild<QWidget*>(ObjectName(*design));
        if (previous) {
            setTabOrder(previous, widget);
        }
        previous = widget;
    }
    // A control that a label names is that label's buddy: screen readers
    // read its name through the label. The others carry their names.
    for (const form::ControlDesign& design : form::Controls()) {
        auto* widget = findChild<QWidget*>(ObjectName(design));
        if (const form::ControlDesign* label = form::NamingLabel(design)) {
            findChild<QLabel*>(ObjectName(*label))->setBuddy(widget);
        } else {
            widget->setAccessibleName(ToQString(design.accessibleName));
        }
    }

    controls_->combo = findChild<QComboBox*>(QStringLiteral("Combo1"));
    controls_->complements =
        static_cast<QStringListModel*>(findChild<QListView*>(QStringLiteral("List1"))->model());
    controls_->reportBox = findChild<QPlainTextEdit*>(QStringLiteral("Text1_0"));
    connect(command1_, &QButtonGroup::idClicked, this,
            [this](int index) { commands_->Command1Click(index); });

    controls_->combo->setFocus(Qt::OtherFocusReason);  // where the first number is typed
}

// The zoom keys work whatever control has the focus, the number field's
// edit field included; Qt tries the keypad's keys as the main ones too.
void MainWindow::CreateZoomKeys()
{
    const std::pair<QList<QKeySequence>, int> keys[] = {
        {{Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal}, 1},
        {{Qt::CTRL | Qt::Key_Minus}, -1},
        {{Qt::CTRL | Qt::Key_0}, 0},
    };
    for (const auto& [sequences, direction] : keys) {
        auto* shortcut = new QShortcut(this);  // Qt::WindowShortcut
        shortcut->setKeys(sequences);
        connect(shortcut, &QShortcut::activated, this, [this, direction = direction] { Zoom(direction); });
    }
    // Ctrl+wheel zooms the window over every control, instead of scrolling
    // the report box, zooming its text alone or changing the number field's entry.
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

void MainWindow::Zoom(int direction)
{
    const double step = direction == 0 ? 1.0 : form::NextZoomStep(zoom_, direction);
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        // The window keeps its size; the form grows no larger than it.
        zoom_ = std::min(step, form::FitZoom(width(), height()));
        LayOut();
        return;
    }
    // The window as large as the form at the step, as far as the screen
    // has room for it; its top left corner stays, moved only to keep the
    // window on the screen.
    const QRect room = screen()->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    const QSize client = FormSize(step).boundedTo(room.size() - frame);
    zoom_ = client == FormSize(step) ? step : form::FitZoom(client.width(), client.height());
    const QPoint corner(std::clamp(x(), room.left(), room.right() + 1 - frame.width() - client.width()),
                        std::clamp(y(), room.top(), room.bottom() + 1 - frame.height() - client.height()));
    if (corner != pos()) {
        move(corner);
    }
    if (client == size()) {
        LayOut();
    } else {
        resize(client);  // laid out in resizeEvent()
    }
}

void MainWindow::LayOut()
{
    setUpdatesEnabled(false);  // painted once, when all is in place
    QFont zoomed = font();
    zoomed.setPointSizeF(form::MainWindow().font.points * zoom_);
    setFont(zoomed);
    // The form centred in the window; the margins show its background.
    const QSize margins = size() - FormSize(zoom_);
    const QPoint origin(std::max(0, margins.width() / 2), std::max(0, margins.height() / 2));
    for (const form::ControlDesign& design : form::Controls()) {
        auto* control = findChild<QWidget*>(ObjectName(design), Qt::FindDirectChildrenOnly);
        control->setGeometry(PixelGeometry(design, zoom_).translated(origin));
        control->setFont(zoomed);  // a style sheet's widget takes no later font of its window's
    }
    setUpdatesEnabled(true);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    // A size that a zoom key chose keeps its step; any other, such as the
    // user's or a maximised window's, makes the form fit the window.
    if (size() != FormSize(zoom_)) {
        zoom_ = form::FitZoom(width(), height());
    }
    LayOut();
    QWidget::resizeEvent(event);
}

void MainWindow::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QWidget::wheelEvent(event);
        return;
    }
    wheelTurn_ += event->angleDelta().y();  // a notch is 120; fine wheels send parts of one
    const int steps = wheelTurn_ / 120;
    wheelTurn_ %= 120;
    for (int i = 0; i < std::abs(steps); ++i) {
        Zoom(steps > 0 ? 1 : -1);
    }
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel
        && (static_cast<QWheelEvent*>(event)->modifiers() & Qt::ControlModifier)) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velmora
