#include "Screenshots.h"

#include "review/ProgressWindow.h"

namespace {

// Five months of learning a file of 128 words: most days with a few dozen reviews, a
// pause in between, twelve days in a row up to today.
ProgressFigures FiveMonths()
{
    ProgressFigures figures;
    figures.today = QDate(2001, 3, 5).toJulianDay();
    figures.germanToForeign = {18, 23, 41, 74};
    figures.foreignToGerman = {60, 9, 17, 38};
    for (int k = 0; k < ProgressFigures::kForecastDays; ++k)
        figures.forecast << (k == 0 ? 32
                                    : (37 * k + 11) % 23 * 20 / (k + 4) + (k % 7 == 3 ? 6 : 1));
    figures.firstCalendarDay = figures.today - (QDate(2001, 3, 5).dayOfWeek() - 1) - 52 * 7;
    const int days = int(figures.today - figures.firstCalendarDay + 1);
    for (int i = 0; i < days; ++i) {
        const int ago = days - 1 - i;
        const bool learnt = ago < 12 || (ago < 150 && ago > 20 && (i * 7 + 3) % 5 != 0);
        figures.calendar << (learnt ? 8 + (i * 37 + 5) % 45 : 0);
    }
    figures.streak = 12;
    return figures;
}

const ShotRegistrar shots("ProgressWindow", [](const QString& dir) {
    ProgressWindow window;
    window.showFigures(QStringLiteral("/home/anna/Vokabeln/englisch-grundwortschatz.vok"),
                       FiveMonths());
    SaveShot(&window, dir, QStringLiteral("ProgressWindow-history.png"));
});

}  // namespace
