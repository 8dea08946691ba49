#include "Forms.h"

#include "Info.h"
#include "Preferences.h"
#include "Start.h"
#include "Widgets.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "learn/Statistik.h"
#include "tools/Drucker.h"
#include "tools/Konverter.h"
#include "tools/Zipper.h"
#include "vocab/Dateiinfo.h"
#include "vocab/Editor.h"
#include "vocab/Lektionen.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QToolBar>
#include <QWidget>

#include <algorithm>

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm4* Form4 = nullptr;
TForm5* Form5 = nullptr;
TForm6* Form6 = nullptr;
TForm7* Form7 = nullptr;
TForm8* Form8 = nullptr;
TForm9* Form9 = nullptr;
TForm10* Form10 = nullptr;
TForm11* Form11 = nullptr;
TForm12* Form12 = nullptr;

namespace {

template <typename T>
void Create(T*& global)
{
    if (!global)
        global = new T();
}

template <typename T>
void Destroy(T*& global)
{
    delete global;
    global = nullptr;
}

// A line of typical captions and its width and line height in the font the fixed positions
// were drawn for (DejaVu Sans, 9 points at 96 dpi).
const QString kSample =
    QStringLiteral("Übergebener Dateiname: Fremdsprache, Strg-F10, Gewähltes Signal abspielen");
constexpr double kSampleWidth = 473;
constexpr double kLineHeight = 14;

bool Manages(const QLayout* layout, const QWidget* widget)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget || (item->layout() && Manages(item->layout(), widget)))
            return true;
    }
    return false;
}

bool HasFixedSize(const QWidget* widget)
{
    return widget->minimumSize() == widget->maximumSize();
}

// Controls whose inner parts belong to Qt (or, in a scroll area, to the window's own code).
bool IsControl(const QWidget* widget)
{
    return qobject_cast<const QAbstractScrollArea*>(widget) ||
           qobject_cast<const QMenuBar*>(widget) || qobject_cast<const QToolBar*>(widget) ||
           qobject_cast<const QTabBar*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QAbstractSlider*>(widget) || qobject_cast<const QLabel*>(widget);
}

// Scales the edges rather than the sizes, so that controls that touched still touch.
QRect Grown(const QRect& r, double factor)
{
    const auto at = [factor](int pixels) { return qRound(pixels * factor); };
    return QRect(QPoint(at(r.left()), at(r.top())),
                 QPoint(at(r.left() + r.width()) - 1, at(r.top() + r.height()) - 1));
}

void GrowChildren(QWidget* parent, double factor)
{
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow())
            continue;
        const bool placed = !parent->layout() || !Manages(parent->layout(), child);
        // A scroll area's size belongs to what it shows.
        const bool fixed = HasFixedSize(child) && !qobject_cast<QAbstractScrollArea*>(child);
        QRect place = Grown(child->geometry(), factor);
        auto* label = qobject_cast<QLabel*>(child);
        if (label && child->size() == label->sizeHint())
            place.setSize(child->size());  // sized to its text in this very font
        if (fixed)
            child->setFixedSize(placed ? place.size() : Grown(child->rect(), factor).size());
        if (placed)
            child->setGeometry(place);
        if (!IsControl(child))
            GrowChildren(child, factor);
    }
}

}  // namespace

// In the order of their numbers, the start screen first.
void CreateForms()
{
    InstallButtonKeys();
    Create(Form1);
    Create(Form2);
    Create(Form3);
    Create(Form4);
    Create(Form5);
    Create(Form6);
    Create(Form7);
    Create(Form8);
    Create(Form9);
    Create(Form10);
    Create(Form11);
    Create(Form12);
}

void DestroyForms()
{
    Destroy(Form12);
    Destroy(Form11);
    Destroy(Form10);
    Destroy(Form9);
    Destroy(Form8);
    Destroy(Form7);
    Destroy(Form6);
    Destroy(Form5);
    Destroy(Form4);
    Destroy(Form3);
    Destroy(Form2);
    Destroy(Form1);
}

void CenterOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

double FontGrowth(const QWidget* window)
{
    const QFontMetricsF metrics(window->font());
    const double growth =
        std::max(metrics.horizontalAdvance(kSample) / kSampleWidth, metrics.height() / kLineHeight);
    // Rounding in the font engine must not shift a window that fits as drawn.
    return growth < 1.01 ? 1.0 : growth;
}

int GrownForFont(int pixels, const QWidget* window)
{
    return qRound(pixels * FontGrowth(window));
}

void GrowWithFont(QWidget* area)
{
    const double factor = FontGrowth(area);
    if (factor == 1.0)
        return;
    GrowChildren(area, factor);
    const QSize size = Grown(area->rect(), factor).size();
    if (HasFixedSize(area))
        area->setFixedSize(size);
    else
        area->resize(size);
}
