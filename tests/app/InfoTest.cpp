#include "app/Info.h"
#include "app/Urllabel.h"
#include "learn/Lernprogramm.h"
#include "support/DataTables.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

#include <QEnterEvent>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

QAction* MenuItem(const QString& window, const QString& item)
{
    return (window == u"Editor"_s ? static_cast<QWidget*>(Form2) : Form5)
        ->findChild<QAction*>(item);
}

// What a link shows: underlined or not, and its colour.
QString Look(const TURLLabel* link)
{
    return (link->font().underline() ? u"underlined "_s : u"plain "_s) +
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

    // The three link items of both help menus. The help page is looked for beside the
    // program (here: the real page the build puts beside the tests), never in the current
    // directory, which holds a page of its own.
    void helpMenu_data()
    {
        for (const char* column : {"window", "item", "programDir"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<QStringList>("messages");
        const QString built = QCoreApplication::applicationDirPath();
        const QString empty = NewTestDirectory();
        const auto one = [](const QString& s) {
            return s.isEmpty() ? QStringList() : QStringList{s};
        };
        for (const QByteArray window : {"Editor", "Lernprogramm"}) {
            const auto row = [&](const char* name, const char* item, const QString& dir,
                                 const QString& opened, const char* message) {
                QTest::newRow(window + name) << QString::fromUtf8(window) << item << dir
                                             << one(opened) << one(QString::fromUtf8(message));
            };
            row(" help page", "LernkompassHilfe1", built, built + u"/Liesmich.htm"_s, "");
            row(" page missing", "LernkompassHilfe1", empty, {}, "Hilfedatei nicht gefunden!");
            row(" product site", "HomepagevonLernkompass1", empty, u"https://example.org/"_s, "");
            row(" author's site", "HomepagedesAutors1", empty, u"https://example.com/"_s, "");
        }
    }
    void helpMenu()
    {
        const auto [window, item, programDir, opened, messages] =
            DataRow<QString, QString, QString, QStringList, QStringList>(
                "window", "item", "programDir", "opened", "messages");
        platform.programDir = programDir;
        const QString elsewhere = NewTestDirectory();
        QVERIFY(WriteBytes(elsewhere + u"/Liesmich.htm"_s, "<html></html>"));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere));
        MenuItem(window, item)->trigger();
        QDir::setCurrent(before);
        QCOMPARE(platform.urlsOpened, opened);
        QCOMPARE(platform.messageTexts(), messages);
        for (const FakePlatform::Message& m : platform.messages)
            QVERIFY(m.caption == u"Fehler"_s && m.buttons == MsgButtons::Ok &&
                    m.icon == MsgIcon::None);
    }

    // "&Info ..." shows the about box modally in both windows.
    void infoItem()
    {
        for (const QString& window : {u"Editor"_s, u"Lernprogramm"_s}) {
            bool shownModally = false;
            QTimer::singleShot(0, Form9, [&] {
                shownModally = Form9->isVisible() && Form9->isModal();
                Form9->close();
            });
            MenuItem(window, u"Info1"_s)->trigger();
            QVERIFY2(shownModally && !Form9->isVisible(), qPrintable(window));
        }
    }

    // Each link shows its address and opens it
    // on any mouse button, and on Enter or Space when it has the focus. It ends before the
    // next column.
    void links()
    {
        const struct {
            const char *link, *caption, *url;
        } rows[] = {{"URLLabel1", "https://example.org", "https://example.org/"},
                    {"URLLabel2", "autor@example.com", "mailto:autor@example.com"},
                    {"URLLabel3", "https://example.com", "https://example.com/"}};
        for (const auto& row : rows) {
            platform.clear();
            auto* label = Form9->findChild<TURLLabel*>(QLatin1String(row.link));
            QCOMPARE(label->text(), QLatin1String(row.caption));
            for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
                QTest::mousePress(label, button);
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_A})
                QTest::keyClick(label, key);
            QCOMPARE(platform.urlsOpened, QStringList(5, QLatin1String(row.url)));
            QVERIFY(label->geometry().right() < (label->x() < 240 ? 240 : TForm9::kClientWidth));
        }
    }

    // Blue and plain; underlined only while the mouse is over the link, and its own font
    // again afterwards. Keyboard focus shows a focus frame, as on other controls, and leaves
    // the font alone.
    void hover_data()
    {
        QTest::addColumn<QString>("steps");  // e: enter, l: leave, t: Tab to it, o: Tab on
        QTest::addColumn<QStringList>("looks");
        const QString plain = u"plain #0000ff"_s;
        const QString under = u"underlined #0000ff"_s;
        const QString framed = u" framed"_s;
        QTest::newRow("enter, leave") << "el" << QStringList{under, plain};
        QTest::newRow("Tab to it, Tab on") << "to" << QStringList{plain + framed, plain};
        QTest::newRow("focus during hover")
            << "etol" << QStringList{under, under + framed, under, plain};
        QTest::newRow("hover during focus")
            << "telo" << QStringList{plain + framed, under + framed, plain + framed, plain};
    }
    void hover()
    {
        const auto [steps, looks] = DataRow<QString, QStringList>("steps", "looks");
        // Two links of the about box's build in a window of their own, so that it is active.
        QWidget window;
        TURLLabel* links[2];
        for (TURLLabel*& link : links) {
            link = new TURLLabel(&window);
            link->setCurrentFont({link->font(), QColor(0, 0, 255)});
            link->adjustSize();
        }
        links[1]->move(0, 40);
        auto* label = links[0];
        window.move(300, 300);  // away from the mouse pointer
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        links[1]->setFocus();  // the first Tab goes to label
        const QFont plainFont = label->font();
        const QRgb background = label->palette().color(QPalette::Window).rgb();
        const auto look = [&] {
            const QImage shot = label->grab().toImage();
            bool framed = false;
            for (int x = 0; x < shot.width(); ++x)
                framed = framed || shot.pixel(x, 0) != background;
            return Look(label) + (framed ? u" framed"_s : QString());
        };
        QStringList seen;
        for (QChar step : steps) {
            QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
            QEvent leave(QEvent::Leave);
            if (step == QLatin1Char('e'))
                QApplication::sendEvent(label, &enter);
            else if (step == QLatin1Char('l'))
                QApplication::sendEvent(label, &leave);
            else
                PressKey(&window, Qt::Key_Tab);
            seen << look();
        }
        QCOMPARE(seen, looks);
        QCOMPARE(label->font(), plainFont);
    }

    // The help page is one self-contained file: UTF-8 declared and valid, no scripts, nothing
    // loaded from elsewhere, and every link inside it has its target.
    void helpPage()
    {
        const QByteArray bytes =
            ReadBytes(QCoreApplication::applicationDirPath() + u"/Liesmich.htm"_s);
        QVERIFY(bytes.size() > 10000);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString page = utf8(bytes);
        QVERIFY(!utf8.hasError());
        QVERIFY(page.contains(u"<meta charset=\"utf-8\">"_s));
        for (const char* banned :
             {"<script", "\\son\\w+\\s*=", "<(img|link|iframe|object)\\b", "url\\("})
            QVERIFY2(!page.contains(QRegularExpression(QLatin1String(banned))), banned);
        QSet<QString> ids;
        for (const auto& m : QRegularExpression(u"\\sid=\"([^\"]+)\""_s).globalMatch(page))
            ids << m.captured(1);
        for (const auto& m : QRegularExpression(u"\\shref=\"([^\"]*)\""_s).globalMatch(page))
            QVERIFY2(
                m.captured(1).startsWith(QLatin1Char('#')) && ids.contains(m.captured(1).mid(1)),
                qPrintable(m.captured(1)));
    }
};

LK_TEST_MAIN(InfoTest)
#include "InfoTest.moc"
