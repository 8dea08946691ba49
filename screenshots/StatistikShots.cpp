#include "Screenshots.h"

#include "learn/Statistik.h"
#include "support/TestSupport.h"

#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

namespace {

// A dozen runs of one lesson over three weeks, getting better, and a few of others.
QString WriteDozenRuns()
{
    const int known[] = {9, 11, 10, 14, 15, 13, 17, 18, 19, 18, 20, 21};
    const int deleted[] = {4, 3, 5, 2, 3, 2, 2, 1, 1, 2, 1, 0};
    QByteArray bytes;
    for (int i = 0; i < 12; ++i) {
        const RunResult run{QStringLiteral("/home/anna/Vokabeln/englisch-grundwortschatz.vok"),
                            QStringLiteral("Lektion 3: Reisen"),
                            22,
                            known[i],
                            22 - known[i],
                            deleted[i],
                            410 - 15 * i,
                            QDate(2001, 3, 5).addDays(2 * i)};
        bytes += EncodeStatisticsRecord(run).value();
        if (i % 4 == 1) {
            RunResult other = run;
            other.lesson = QStringLiteral("Lektion %1").arg(i / 4 + 1);
            bytes += EncodeStatisticsRecord(other).value();
        }
    }
    const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
    WriteBytes(path, bytes);
    return path;
}

const ShotRegistrar shots("Statistik", [](const QString& dir) {
    TForm8 form;
    form.statisticsPath = WriteDozenRuns();
    form.vocabularyPath = QStringLiteral("/home/anna/Vokabeln/englisch-grundwortschatz.vok");
    form.show();
    const auto lessons = form.ListBox1->findItems(QStringLiteral("Lektion 3"), Qt::MatchStartsWith);
    if (!lessons.isEmpty())
        form.ListBox1->setCurrentItem(lessons.first());
    form.Button1->click();
    SaveShot(&form, dir, QStringLiteral("Statistik-table.png"));
    form.PageControl1->setCurrentIndex(1);
    SaveShot(&form, dir, QStringLiteral("Statistik-chart.png"));
});

}  // namespace
