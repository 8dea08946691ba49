#include "Forms.h"

#include "Info.h"
#include "Preferences.h"
#include "Start.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "learn/Statistik.h"
#include "tools/Drucker.h"
#include "tools/Konverter.h"
#include "tools/Zipper.h"
#include "vocab/Dateiinfo.h"
#include "vocab/Editor.h"
#include "vocab/Lektionen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

}  // namespace

// In the order of their numbers, the start screen first.
void CreateForms()
{
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
