#include "journal/progresscharts.h"

#include "platform/core/cp1252.h"
#include "sprachbank/sprachbank.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFont>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>

namespace journal {

namespace {

constexpr int kLevelsPerLine = 10;
const QColor kLineColours[] = {{74, 127, 193}, {232, 163, 61}, {86, 160, 86},
                               {170, 84, 150}, {96, 96, 96}};

QString Caption(int number) {
    return platform::FromAnsi(DLL_GetCaption(number));
}

QFont ChartFont(int pixels, bool bold = false) {
    QFont font("Arial");
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A chart without its own background or title (the window names each
// panel), with small margins and the course's font.
QChart* PlainChart() {
    auto* chart = new QChart();
    chart->setBackgroundVisible(false);
    chart->setPlotAreaBackgroundVisible(false);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setFont(ChartFont(10));
    chart->legend()->setLabelColor(kChartInk);
    chart->legend()->setAlignment(Qt::AlignTop);
    return chart;
}

void StyleAxis(QAbstractAxis* axis) {
    axis->setLabelsFont(ChartFont(9));
    axis->setLabelsColor(kChartInk);
    axis->setTitleFont(ChartFont(10));
    axis->setTitleBrush(kChartInk);
    axis->setGridLineColor(QColor(220, 228, 240));
}

// A count axis from 0 to a round top a little above `highest` (at least
// `minimum`), with ticks on round numbers.
QValueAxis* CountAxis(double highest, double minimum, const QString& title) {
    const double wanted = std::max(minimum, highest * 1.1);
    double step = 1;
    for (double candidate : {1.0, 2.0, 5.0, 10.0, 15.0, 20.0, 30.0, 60.0, 120.0, 300.0}) {
        step = candidate;
        if (std::ceil(wanted / candidate) <= 5) break;
    }
    const int steps = static_cast<int>(std::ceil(wanted / step));
    auto* axis = new QValueAxis();
    axis->setRange(0, steps * step);
    axis->setTickCount(steps + 1);
    axis->setLabelFormat("%d");
    axis->setTitleText(title);
    StyleAxis(axis);
    return axis;
}

// A chart of bars per lesson ("L1", "L2", ...) over a count axis.
QChart* LessonBarChart(QAbstractBarSeries* series, const std::vector<int>& lessons,
                       QValueAxis* counts) {
    series->setBarWidth(0.6);
    QChart* chart = PlainChart();
    chart->addSeries(series);
    QStringList categories;
    for (int lesson : lessons) categories << Caption(414) + QString::number(lesson);
    auto* x = new QBarCategoryAxis();
    x->append(categories);
    x->setGridLineVisible(false);
    StyleAxis(x);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    chart->addAxis(counts, Qt::AlignLeft);
    series->attachAxis(counts);
    return chart;
}

} // namespace

QString DaysShown(const JournalSummary& summary) {
    const QDate first = summary.Today.addDays(-(static_cast<int>(summary.MinutesPerDay.size()) - 1));
    return first.toString("d.M.") + QString::fromUtf8(" \u2013 ") + summary.Today.toString("d.M.");
}

int TotalHours(const JournalSummary& summary) {
    return static_cast<int>(summary.TotalSeconds / 3600);
}

int TotalMinutesPastHour(const JournalSummary& summary) {
    return static_cast<int>(summary.TotalSeconds % 3600 / 60);
}

QChart* MinutesChart(const JournalSummary& summary) {
    const auto& minutes = summary.MinutesPerDay;
    if (std::all_of(minutes.begin(), minutes.end(), [](double m) { return m <= 0.0; }))
        return nullptr;
    auto* set = new QBarSet(Caption(411));
    set->setColor(kChartBlue);
    set->setBorderColor(kChartBlue.darker(115));
    QStringList days;
    const QDate first = summary.Today.addDays(-(static_cast<int>(minutes.size()) - 1));
    for (std::size_t i = 0; i < minutes.size(); ++i) {
        *set << minutes[i];
        days << first.addDays(static_cast<int>(i)).toString("d.M.");
    }
    auto* series = new QBarSeries();
    series->setBarWidth(0.8);
    series->append(set);
    QChart* chart = PlainChart();
    chart->addSeries(series);
    chart->legend()->hide();
    auto* x = new QBarCategoryAxis();
    x->append(days);
    StyleAxis(x);
    // Four weeks of bars leave no room for a date under each: the panel's
    // heading names the first and the last day (see DaysShown).
    x->setLabelsVisible(false);
    x->setGridLineVisible(false);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = CountAxis(*std::max_element(minutes.begin(), minutes.end()), 10, Caption(411));
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    return chart;
}

QChart* LevelsChart(const JournalSummary& summary) {
    if (summary.Levels.empty()) return nullptr;
    QChart* chart = PlainChart();
    auto* x = new QDateTimeAxis();
    QDate first = summary.Today;
    for (const LessonLevels& line : summary.Levels)
        if (!line.Points.empty()) first = std::min(first, line.Points.front().Day);
    first = std::min(first, summary.Today.addDays(-7));
    x->setRange(first.startOfDay(), summary.Today.startOfDay());
    x->setFormat(first.daysTo(summary.Today) > 400 ? "M.yy" : "d.M.");
    x->setTickCount(5);
    StyleAxis(x);
    chart->addAxis(x, Qt::AlignBottom);
    auto* y = new QValueAxis();
    y->setRange(1, kLevelsPerLine);
    y->setTickCount(4); // 1, 4, 7, 10
    y->setLabelFormat("%d");
    y->setTitleText(Caption(409));
    StyleAxis(y);
    chart->addAxis(y, Qt::AlignLeft);
    int colour = 0;
    for (const LessonLevels& line : summary.Levels) {
        auto* series = new QLineSeries();
        series->setName(Caption(414) + QString::number(line.Lesson));
        for (const LevelPoint& point : line.Points)
            series->append(point.Day.startOfDay().toMSecsSinceEpoch(), point.Level);
        // A lesson practised on one day only still shows as a short line.
        if (line.Points.size() == 1)
            series->append(line.Points.front().Day.startOfDay().addSecs(12 * 3600).toMSecsSinceEpoch(),
                           line.Points.front().Level);
        QPen pen(kLineColours[colour++ % std::size(kLineColours)]);
        pen.setWidth(3);
        series->setPen(pen);
        series->setPointsVisible(true);
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    }
    return chart;
}

QChart* QuizChart(const JournalSummary& summary) {
    if (summary.Quizzes.empty()) return nullptr;
    auto* passed = new QBarSet(Caption(407));
    auto* notYet = new QBarSet(Caption(408));
    passed->setColor(kChartGreen);
    notYet->setColor(kChartOrange);
    std::vector<int> lessons;
    int most = 0;
    for (const QuizTally& tally : summary.Quizzes) {
        lessons.push_back(tally.Lesson);
        *passed << tally.Passed;
        *notYet << tally.NotPassed;
        most = std::max(most, tally.Passed + tally.NotPassed);
    }
    auto* series = new QStackedBarSeries();
    series->append(passed);
    series->append(notYet);
    return LessonBarChart(series, lessons, CountAxis(most, 3, Caption(412)));
}

QChart* ScoresChart(const JournalSummary& summary) {
    if (summary.LatestScores.empty()) return nullptr;
    auto* set = new QBarSet(Caption(413));
    set->setColor(kChartBlue);
    std::vector<int> lessons;
    for (const PlayAlongScore& score : summary.LatestScores) {
        lessons.push_back(score.Lesson);
        *set << (score.Notes > 0 ? 100.0 * score.NotesOnTime / score.Notes : 0.0);
    }
    auto* series = new QBarSeries();
    series->append(set);
    auto* percent = CountAxis(100, 100, Caption(413));
    percent->setRange(0, 100);
    percent->setTickCount(6);
    QChart* chart = LessonBarChart(series, lessons, percent);
    chart->legend()->hide();
    return chart;
}

} // namespace journal
