#include "app/Forms.h"
#include "app/Help.h"
#include "app/Info.h"
#include "app/Urllabel.h"
#include "learn/Lernprogramm.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTimer>

namespace {

QAction* MenuItem(const QString& window, const QString& item)
{
    QWidget* form = window == QLatin1String("Editor") ? static_cast<QWidget*>(Form2)
                                                      : static_cast<QWidget*>(Form5);
    return form->findChild<QAction*>(item);
}

TURLLabel* Link(const QString& name)
{
    return Form9->findChild<TURLLabel*>(name);
}

// What the link shows: underlined or not, and its colour.
QString Look(const TURLLabel* link)
{
    return (link->font().underline() ? QStringLiteral("underlined ") : QStringLiteral("plain ")) +
           link->palette().color(QPalette::WindowText).name();
}

}  // namespace

class InfoTest : public QObject {
    Q_OBJECT

    FakePlatform platform;

private Q_SLOTS:
    void initTestCase() { CreateForms(); }
    void cleanupTestCase() { DestroyForms(); }
    void init() { platform.clear(); }

    // The four items of both help menus. The help page is looked for beside the program,
    // never in the current directory.
    void helpMenu_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("programDir");  // "build": the directory of the tests
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<QStringList>("messages");
        const QString built = QCoreApplication::applicationDirPath();
        const QString empty = NewTestDirectory();
        // A directory of that name is no help page.
        const QString dirOnly = NewTestDirectory();
        QVERIFY(QDir(dirOnly).mkdir(Product::kHelpFileName));
        const QStringList missing{QStringLiteral("Hilfedatei nicht gefunden!")};
        for (const QString& window : {QStringLiteral("Editor"), QStringLiteral("Lernprogramm")}) {
            const QByteArray w = window.toUtf8();
            QTest::newRow(w + " help page")
                << window << "LernkompassHilfe1" << built
                << QStringList{built + QStringLiteral("/Liesmich.htm")} << QStringList();
            QTest::newRow(w + " help page missing")
                << window << "LernkompassHilfe1" << empty << QStringList() << missing;
            QTest::newRow(w + " help page a directory")
                << window << "LernkompassHilfe1" << dirOnly << QStringList() << missing;
            QTest::newRow(w + " product site") << window << "HomepagevonLernkompass1" << empty
                                               << QStringList{QStringLiteral("https://example.org/")}
                                               << QStringList();
            QTest::newRow(w + " author's site") << window << "HomepagedesAutors1" << empty
                                                << QStringList{QStringLiteral("https://example.com/")}
                                                << QStringList();
        }
    }
    void helpMenu()
    {
        QFETCH(QString, window);
        QFETCH(QString, item);
        QFETCH(QString, programDir);
        QFETCH(QStringList, opened);
        QFETCH(QStringList, messages);
        platform.programDir = programDir;
        // Started from some other directory, which holds a help page of its own.
        const QString elsewhere = NewTestDirectory();
        QVERIFY(WriteBytes(elsewhere + QStringLiteral("/Liesmich.htm"), "<html></html>"));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere));
        MenuItem(window, item)->trigger();
        QDir::setCurrent(before);
        QCOMPARE(platform.urlsOpened, opened);
        QCOMPARE(platform.messageTexts(), messages);
        for (const FakePlatform::Message& m : platform.messages) {
            QCOMPARE(m.caption, QStringLiteral("Fehler"));
            QCOMPARE(m.buttons, MsgButtons::Ok);
            QCOMPARE(m.icon, MsgIcon::None);
        }
    }

    // "&Info ..." shows the about box modally; Esc closes it.
    void infoItem_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("Editor") << "Editor";
        QTest::newRow("Lernprogramm") << "Lernprogramm";
    }
    void infoItem()
    {
        QFETCH(QString, window);
        bool shownModally = false;
        QTimer::singleShot(0, Form9, [&] {
            shownModally = Form9->isVisible() && Form9->isModal();
            QTest::keyClick(Form9, Qt::Key_Escape);
        });
        MenuItem(window, QStringLiteral("Info1"))->trigger();
        QVERIFY(shownModally);
        QVERIFY(!Form9->isVisible());
        QCOMPARE(Form9->windowTitle(), QStringLiteral("Info"));
        QCOMPARE(Form9->size(), QSize(481, 199));
    }

    // Each link shows its address and opens it on any mouse button, and on Enter or Space
    // when it has the focus. A screen reader hears the address itself.
    void links_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("url");
        QTest::newRow("product") << "URLLabel1" << "https://example.org" << "https://example.org/";
        QTest::newRow("e-mail") << "URLLabel2" << "autor@example.com"
                                << "mailto:autor@example.com";
        QTest::newRow("author") << "URLLabel3" << "https://example.com" << "https://example.com/";
    }
    void links()
    {
        QFETCH(QString, link);
        QFETCH(QString, caption);
        QFETCH(QString, url);
        TURLLabel* label = Link(link);
        QCOMPARE(label->text(), caption);
        QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), caption);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            QTest::mousePress(label, button);
        QTest::keyClick(label, Qt::Key_Return);
        QTest::keyClick(label, Qt::Key_Space);
        QTest::keyClick(label, Qt::Key_A);
        QCOMPARE(platform.urlsOpened, QStringList(5, url));
        // The label ends inside the window and before the next column.
        const int right = label->geometry().right();
        QVERIFY2(right < (label->x() < 240 ? 240 : TForm9::kClientWidth), qPrintable(caption));
    }

    // Blue and plain; underlined while the mouse is over the link or it has the focus, and
    // its own font again afterwards, also when both overlap.
    void hover_data()
    {
        QTest::addColumn<QString>("steps");  // e: enter, l: leave, f: focus in, o: focus out
        QTest::addColumn<QStringList>("looks");
        const QString plain = QStringLiteral("plain #0000ff");
        const QString under = QStringLiteral("underlined #0000ff");
        QTest::newRow("enter, leave") << "el" << QStringList{under, plain};
        QTest::newRow("twice") << "elel" << QStringList{under, plain, under, plain};
        QTest::newRow("focus") << "fo" << QStringList{under, plain};
        QTest::newRow("focus during hover") << "eflo" << QStringList{under, under, under, plain};
        QTest::newRow("hover during focus") << "felo" << QStringList{under, under, under, plain};
    }
    void hover()
    {
        QFETCH(QString, steps);
        QFETCH(QStringList, looks);
        TURLLabel* label = Link(QStringLiteral("URLLabel1"));
        QCOMPARE(Look(label), QStringLiteral("plain #0000ff"));
        const QFont plainFont = label->font();
        QStringList seen;
        for (QChar step : steps) {
            if (step == QLatin1Char('e')) {
                QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
                QApplication::sendEvent(label, &enter);
            } else if (step == QLatin1Char('l')) {
                QEvent leave(QEvent::Leave);
                QApplication::sendEvent(label, &leave);
            } else {
                QFocusEvent focus(step == QLatin1Char('f') ? QEvent::FocusIn : QEvent::FocusOut);
                QApplication::sendEvent(label, &focus);
            }
            seen << Look(label);
        }
        QCOMPARE(seen, looks);
        QCOMPARE(label->font(), plainFont);
    }

    // The help page is one self-contained file: UTF-8 declared and valid, no scripts, nothing
    // loaded from elsewhere, and every link inside it has its target.
    void helpPage()
    {
        const QByteArray bytes =
            ReadBytes(QCoreApplication::applicationDirPath() + QStringLiteral("/Liesmich.htm"));
        QVERIFY(bytes.size() > 10000);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString page = utf8(bytes);
        QVERIFY(!utf8.hasError());
        QVERIFY(page.contains(QLatin1String("<meta charset=\"utf-8\">")));
        QVERIFY(!page.contains(QLatin1String("<script"), Qt::CaseInsensitive));
        QVERIFY(!page.contains(QRegularExpression(QStringLiteral("\\son\\w+\\s*="))));
        QVERIFY(!page.contains(QRegularExpression(QStringLiteral("<(img|link|iframe|object)\\b"))));
        QVERIFY(!page.contains(QLatin1String("url(")));
        QSet<QString> ids;
        for (const auto& m : QRegularExpression(QStringLiteral("\\sid=\"([^\"]+)\"")).globalMatch(page))
            ids << m.captured(1);
        for (const auto& m : QRegularExpression(QStringLiteral("\\shref=\"([^\"]*)\"")).globalMatch(page)) {
            const QString target = m.captured(1);
            QVERIFY2(target.startsWith(QLatin1Char('#')) && ids.contains(target.mid(1)),
                     qPrintable(target));
        }
    }
};

LK_TEST_MAIN(InfoTest)
#include "InfoTest.moc"
