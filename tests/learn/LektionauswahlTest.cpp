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

QList<VocabularyEntry> WithLessons(const QStringList& lessons)
{
    QList<VocabularyEntry> entries = NumberedEntries(int(lessons.size()));
    for (int i = 0; i < lessons.size(); ++i)
        entries[i].lesson = lessons.at(i);
    return entries;
}

QStringList L(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* t : texts)
        list << QString::fromUtf8(t);
    return list;
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
    void initTestCase();
    void cleanupTestCase();
    void init();

    void list_data();
    void list();
    void choose_data();
    void choose();
    void closeBox_leavesLessonLabel();
    void lessonCommand_showsDialogModally();

private:
    void OpenFile(const QStringList& lessons);

    FakePlatform platform_;
};

void LektionauswahlTest::initTestCase()
{
    Form5 = new TForm5();
    Form6 = new TForm6();
}

void LektionauswahlTest::cleanupTestCase()
{
    delete Form6;
    delete Form5;
    Form6 = nullptr;
    Form5 = nullptr;
}

void LektionauswahlTest::init()
{
    Form6->hide();
    Form5->CloseLearningFile();
}

void LektionauswahlTest::OpenFile(const QStringList& lessons)
{
    const QString path =
        WriteVocabularyFile(NewTestDirectory(), QStringLiteral("l.vok"), WithLessons(lessons));
    QVERIFY(Form5->OpenLearningFile(path));
}

void LektionauswahlTest::list_data()
{
    QTest::addColumn<QStringList>("lessons");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("first occurrence, case counts")
        << L({"A", "B", "a", "A", "B"}) << L({"A", "B", "a"});
    QTest::newRow("header only") << QStringList() << QStringList();
    QTest::newRow("blank lessons: one empty item")
        << L({"", "   ", "X", ""}) << L({"", "X"});
    QTest::newRow("tab and blanks trimmed at both ends")
        << L({"\tVerben", "Verben", " Verben\t", "Ver ben"})
        << L({"Verben", "Ver ben"});
    QTest::newRow("umlauts") << L({"Übung", "übung", "Übung"})
                             << L({"Übung", "übung"});
}

void LektionauswahlTest::list()
{
    QFETCH(QStringList, lessons);
    QFETCH(QStringList, items);
    OpenFile(lessons);
    Form6->show();
    QCOMPARE(Items(Form6->ListBox1), items);
    QVERIFY(Form6->ListBox1->selectedItems().isEmpty());
}

void LektionauswahlTest::choose_data()
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
}

void LektionauswahlTest::choose()
{
    QFETCH(int, row);
    QFETCH(QString, way);
    QFETCH(QString, label);
    OpenFile({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("a"), QString()});
    Form5->Label8->setText(QStringLiteral("vorher"));
    Form6->show();
    QVERIFY(QTest::qWaitForWindowActive(Form6));
    if (row >= 0)
        Form6->ListBox1->setCurrentRow(row);
    if (way == QLatin1String("button")) {
        QTest::mouseClick(Form6->Button1, Qt::LeftButton);
    } else if (way == QLatin1String("double")) {
        QListWidget* list = Form6->ListBox1;
        const QPoint at = list->visualItemRect(list->item(row)).center();
        // A double click is a click followed by the second press.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    } else {
        Form6->ListBox1->setFocus();
        QTest::keyClick(Form6->ListBox1, Qt::Key_Return);
    }
    QCOMPARE(Form5->Label8->text(), label);
    QVERIFY(!Form6->isVisible());
}

void LektionauswahlTest::closeBox_leavesLessonLabel()
{
    OpenFile({QStringLiteral("A")});
    Form5->Label8->setText(QStringLiteral("vorher"));
    Form6->show();
    Form6->ListBox1->setCurrentRow(0);
    Form6->close();
    QCOMPARE(Form5->Label8->text(), QStringLiteral("vorher"));
    Form6->show();
    QTest::keyClick(Form6, Qt::Key_Escape);
    QCOMPARE(Form5->Label8->text(), QStringLiteral("vorher"));
}

void LektionauswahlTest::lessonCommand_showsDialogModally()
{
    OpenFile({QStringLiteral("Tiere"), QStringLiteral("Farben")});
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
    QCOMPARE(shown, (QStringList{QStringLiteral("Tiere"), QStringLiteral("Farben")}));
    QCOMPARE(Form5->Label8->text(), QStringLiteral("Farben"));
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Lektionen-Auswahl"));
    QCOMPARE(Form6->size(), QSize(322, 232));
}

LK_TEST_MAIN(LektionauswahlTest)
#include "LektionauswahlTest.moc"
