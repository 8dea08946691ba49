#include "app/Forms.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {

// A list from a text split at '|'.
QStringList L(const char* texts)
{
    return QString::fromUtf8(texts).split(u'|');
}

QStringList Items(QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

}  // namespace

class LektionauswahlTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        Form5 = new TForm5();
        Form6 = new TForm6();
    }
    void cleanupTestCase()
    {
        delete Form6;
        delete Form5;
        Form6 = nullptr;
        Form5 = nullptr;
    }
    void init()
    {
        Form6->hide();
        Form5->CloseLearningFile();
    }

    void list_data()
    {
        QTest::addColumn<QStringList>("lessons");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("first occurrence, case counts") << L("A|B|a|A|B") << L("A|B|a");
        QTest::newRow("header only") << QStringList() << QStringList();
        QTest::newRow("blank lessons: one empty item") << L("|   |X|") << L("|X");
        QTest::newRow("tab and blanks trimmed at both ends")
            << L("\tVerben|Verben| Verben\t|Ver ben") << L("Verben|Ver ben");
        QTest::newRow("umlauts") << L("Übung|übung|Übung") << L("Übung|übung");
    }
    void list()
    {
        QFETCH(QStringList, lessons);
        OpenFile(lessons);
        Form6->show();
        QTEST(Items(Form6->ListBox1), "items");
        QVERIFY(Form6->ListBox1->selectedItems().isEmpty());
    }

    void choose_data()
    {
        QTest::addColumn<int>("row");  // -1: nothing selected
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("label");
        QTest::newRow("button") << 1 << "button" << "B";
        QTest::newRow("button without selection") << -1 << "button" << "";
        QTest::newRow("double click") << 2 << "double" << "a";
        QTest::newRow("Enter on the list") << 0 << "enter" << "A";
        QTest::newRow("Enter without selection") << -1 << "enter" << "";
        QTest::newRow("blank item") << 3 << "button" << "";
        // Leaving without the button hands nothing back.
        QTest::newRow("close box") << 0 << "close" << "vorher";
        QTest::newRow("Esc") << 0 << "escape" << "vorher";
    }
    void choose()
    {
        QFETCH(int, row);
        QFETCH(QString, way);
        OpenFile(L("A|B|a|"));
        Form5->Label8->setText(QStringLiteral("vorher"));
        Form6->show();
        QVERIFY(QTest::qWaitForWindowActive(Form6));
        QListWidget* list = Form6->ListBox1;
        if (row >= 0)
            list->setCurrentRow(row);
        if (way == u"button") {
            QTest::mouseClick(Form6->Button1, Qt::LeftButton);
        } else if (way == u"double") {
            const QPoint at = list->visualItemRect(list->item(row)).center();
            // A double click is a click followed by the second press.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        } else if (way == u"close") {
            Form6->close();
        } else {
            list->setFocus();
            QTest::keyClick(list, way == u"enter" ? Qt::Key_Return : Qt::Key_Escape);
        }
        QTEST(Form5->Label8->text(), "label");
        QVERIFY(!Form6->isVisible());
    }

    void lessonCommand_showsDialogModally()
    {
        OpenFile(L("Tiere|Farben"));
        bool modal = false;
        QStringList shown;
        QTimer::singleShot(0, Form6, [&] {
            modal = Form6->isModal() && Form6->isVisible();
            shown = Items(Form6->ListBox1);
            Form6->ListBox1->setCurrentRow(1);
            Form6->Button1->click();
        });
        Form5->Lektion1->trigger();
        QVERIFY(modal);
        QCOMPARE(shown, L("Tiere|Farben"));
        QCOMPARE(Form5->Label8->text(), QStringLiteral("Farben"));
        QCOMPARE(Form6->windowTitle(), QStringLiteral("Lektionen-Auswahl"));
    }

private:
    void OpenFile(const QStringList& lessons)
    {
        QList<VocabularyEntry> entries = NumberedEntries(int(lessons.size()));
        for (int i = 0; i < lessons.size(); ++i)
            entries[i].lesson = lessons.at(i);
        const QString path =
            WriteVocabularyFile(NewTestDirectory(), QStringLiteral("l.vok"), entries);
        QVERIFY(Form5->OpenLearningFile(path));
    }

    FakePlatform platform_;
};

LK_TEST_MAIN(LektionauswahlTest)
#include "LektionauswahlTest.moc"
