#include "Statistik.h"

#include "app/AnsiText.h"
#include "app/FileNames.h"
#include "app/Forms.h"
#include "app/Platform.h"
#include "app/Widgets.h"
#include "learn/StatisticsChart.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace {

struct Section {
    const char16_t* text;
    int width;
    int minimum;
};

// The last section takes the width the others leave.
constexpr std::array<Section, 7> kSections{{{u"Lektion", 100, 100},
                                            {u"Datum", 80, 70},
                                            {u"Insgesamt", 70, 70},
                                            {u"Gewußt", 70, 70},
                                            {u"Nicht gewußt", 80, 80},
                                            {u"Gelöscht", 70, 70},
                                            {u"Zeit", 99, 70}}};
constexpr int kLastSection = static_cast<int>(kSections.size()) - 1;

// Vertical lines only: the last pixel of each cell carries the line, so a column spans
// exactly its header section.
class VerticalLinesDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem inner = option;
        inner.rect.setRight(option.rect.right() - 1);
        QStyledItemDelegate::paint(painter, inner, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }
};

void MakeWhite(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFrame* MakeSquare(QWidget* parent, const char* name, const QColor& colour,
                   const QString& accessibleName)
{
    auto* square = Named<QFrame>(parent, name);
    square->setFixedSize(16, 16);
    square->setFrameShape(QFrame::Box);
    square->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid black;").arg(colour.name()));
    square->setAccessibleName(accessibleName);
    return square;
}

// The chart, painted piece by piece as it is exposed: a chart of thousands of runs is
// hundreds of megabytes as one picture. Each piece is drawn into a picture of its own
// size, with the same pixels as the whole chart drawn at once.
class ChartView : public QWidget {
public:
    using QWidget::QWidget;

    void showChart(QList<StatisticsRecord> records, int width)
    {
        records_ = std::move(records);
        resize(width, kChartHeight);
        update();
    }
    const QList<StatisticsRecord>& records() const { return records_; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const QRect part = event->rect();
        QPainter(this).drawImage(part.topLeft(), StatisticsChartPiece(size(), records_, part));
    }

private:
    QList<StatisticsRecord> records_;
};

}  // namespace

TForm8::TForm8(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Statistik"));
    setFixedSize(kClientWidth, kClientHeight);

    GroupBox1 = Placed<QGroupBox>(this, "GroupBox1", QRect(8, 4, 578, 120),
                                  QStringLiteral("Statistik-Auswahl"));

    RadioButton1 = Placed<QRadioButton>(GroupBox1, "RadioButton1", QRect(16, 24, 160, 20),
                                        QStringLiteral("&Lektion"));
    RadioButton1->setChecked(true);
    RadioButton2 = Placed<QRadioButton>(GroupBox1, "RadioButton2", QRect(16, 48, 160, 20),
                                        QStringLiteral("&Zufall"));

    Button1 = Placed<QPushButton>(GroupBox1, "Button1", QRect(16, 80, 160, 27),
                                  QStringLiteral("&Auswertung anzeigen"));
    Button1->setDefault(true);

    ListBox1 = Placed<QListWidget>(GroupBox1, "ListBox1", QRect(192, 20, 370, 90));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setAccessibleName(QStringLiteral("Lektionen"));

    PageControl1 = Placed<QTabWidget>(this, "PageControl1", QRect(8, 130, 578, 359));

    // Text page: a white scroll box with the header above the grid.
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    ScrollBox1 = Named<QScrollArea>(TabSheet1, "ScrollBox1");
    ScrollBox1->setWidgetResizable(false);
    MakeWhite(ScrollBox1->viewport());
    gridArea_ = new QWidget;
    MakeWhite(gridArea_);
    auto* textLayout = new QVBoxLayout(TabSheet1);
    textLayout->setContentsMargins(4, 4, 4, 4);
    textLayout->addWidget(ScrollBox1);

    auto* headerModel = new QStandardItemModel(0, static_cast<int>(kSections.size()), this);
    for (int c = 0; c <= kLastSection; ++c)
        headerModel->setHorizontalHeaderItem(
            c, new QStandardItem(QString::fromUtf16(kSections[c].text)));
    HeaderControl1 = Named<QHeaderView>(gridArea_, "HeaderControl1", Qt::Horizontal);
    HeaderControl1->setModel(headerModel);
    HeaderControl1->setMinimumSectionSize(70);
    HeaderControl1->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    HeaderControl1->setSectionsClickable(false);
    HeaderControl1->setHighlightSections(false);
    // Wide enough for the section's text in any font.
    for (int c = 0; c <= kLastSection; ++c)
        HeaderControl1->resizeSection(c, std::max(GrownForFont(kSections[c].width, this),
                                                  HeaderControl1->sectionSizeHint(c)));
    HeaderControl1->setSectionResizeMode(kLastSection, QHeaderView::Fixed);

    StringGrid1 =
        Named<QTableWidget>(gridArea_, "StringGrid1", 1, static_cast<int>(kSections.size()));
    StringGrid1->setAccessibleName(QStringLiteral("Auswertung"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    const int rowHeight = GrownForFont(kRowHeight, this);
    StringGrid1->verticalHeader()->setMinimumSectionSize(rowHeight);
    StringGrid1->verticalHeader()->setDefaultSectionSize(rowHeight);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->setShowGrid(false);
    StringGrid1->setItemDelegate(new VerticalLinesDelegate(StringGrid1));
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setTabKeyNavigation(false);
    StringGrid1->setWordWrap(false);
    // A stored field ends in blanks: elided, every lesson would end in "…".
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->setFrameShape(QFrame::NoFrame);
    // The scroll box scrolls the whole grid.
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setWidget(gridArea_);

    // Chart page: the picture in its scroll box, the legend and the copy button.
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    ScrollBox2 = Named<QScrollArea>(TabSheet2, "ScrollBox2");
    ScrollBox2->setFixedSize(550, 257);
    // The picture draws its own frame; without another one it fits the box exactly.
    ScrollBox2->setFrameShape(QFrame::NoFrame);
    ScrollBox2->setWidgetResizable(false);
    chartWidth_ = kChartWidth;
    Image1 = new ChartView;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Diagramm der Auswertung"));
    Image1->resize(chartWidth_, kChartHeight);
    ScrollBox2->setWidget(Image1);

    Label1 = Named<QLabel>(TabSheet2, "Label1", QStringLiteral("Mit gelöschten Vokabeln:"));
    Shape1 = MakeSquare(TabSheet2, "Shape1", kKnownOrDeletedColour, QStringLiteral("Hellgrün"));
    Label2 = Named<QLabel>(TabSheet2, "Label2", QStringLiteral("Ohne gelöschte Vokabeln:"));
    Shape2 = MakeSquare(TabSheet2, "Shape2", kKnownColour, QStringLiteral("Blau"));
    Button2 =
        Named<QPushButton>(TabSheet2, "Button2", QStringLiteral("In die Zwischenablage &kopieren"));

    auto* legend = new QGridLayout;
    legend->addWidget(Label1, 0, 0);
    legend->addWidget(Shape1, 0, 1);
    legend->addWidget(Label2, 1, 0);
    legend->addWidget(Shape2, 1, 1);
    legend->setColumnStretch(2, 1);
    legend->addWidget(Button2, 0, 3, 2, 1, Qt::AlignVCenter);
    auto* chartLayout = new QVBoxLayout(TabSheet2);
    chartLayout->setContentsMargins(8, 8, 8, 4);
    chartLayout->addWidget(ScrollBox2, 0, Qt::AlignHCenter);
    chartLayout->addLayout(legend);
    chartLayout->addStretch();

    PageControl1->addTab(TabSheet1, QStringLiteral("&Textbasierte Auswertung"));
    PageControl1->addTab(TabSheet2, QStringLiteral("&Graphische Auswertung"));
    GrowWithFont(this);

    ScrollBox1->installEventFilter(this);
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton1Click();
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton2Click();
    });
    connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
    connect(ListBox1, &QListWidget::itemClicked, this, &TForm8::Button1Click);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm8::PageControl1Change);
    connect(HeaderControl1, &QHeaderView::sectionResized, this,
            &TForm8::HeaderControl1SectionResize);
    connect(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);
    // Keyboard moves in the grid keep the current row in view of the scroll box.
    connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row < 0 || column < 0)
            return;
        const QRect cell = StringGrid1->visualRect(StringGrid1->model()->index(row, column))
                               .translated(StringGrid1->pos());
        ScrollBox1->ensureVisible(cell.center().x(), cell.center().y(), cell.width() / 2,
                                  cell.height() / 2 + 1);
    });
}

void TForm8::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Restoring a minimised window is no new showing.
    if (!event->spontaneous())
        FormShow();
}

void TForm8::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Every way of closing hides the window, Esc included.
    if (!event->spontaneous())
        FormClose();
}

bool TForm8::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ScrollBox1 && event->type() == QEvent::Resize)
        FitGridToHeader();
    return QDialog::eventFilter(watched, event);
}

QString TForm8::CurrentFileName() const
{
    // Compare with the name as a record stores it: Windows-1252, cut to 80 characters.
    return TrimBlanks(FitToWidth(StoredText(FileNamePart(vocabularyPath)), 80));
}

void TForm8::FormShow()
{
    {
        const QSignalBlocker blocker(PageControl1);
        PageControl1->setCurrentIndex(0);
    }
    PageControl1->setEnabled(false);
    HeaderControl1->hide();
    StringGrid1->hide();
    ListBox1->clear();
    CenterOnScreen(this);

    const QString path = statisticsPath.isEmpty()
                             ? StatisticsFilePath(Platform::instance().programDirectory())
                             : statisticsPath;
    const StatisticsReader::Status status = reader_.open(path);
    if (status != StatisticsReader::Status::Ok) {
        ShowError(this, StatisticsReader::message(status));
        return;
    }

    // A file of many records takes a while: hourglass, and the window keeps repainting.
    const WaitCursor wait;
    RepaintPacer repaint;
    ListBox1->addItems(StatisticsLessons(reader_, CurrentFileName(), std::ref(repaint)));
}

void TForm8::FormClose()
{
    reader_.close();
}

void TForm8::RadioButton1Click()
{
    ListBox1->setEnabled(true);
}

void TForm8::RadioButton2Click()
{
    ListBox1->setEnabled(false);
}

void TForm8::Button1Click()
{
    if (RadioButton1->isChecked()) {
        const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
        if (selected.isEmpty()) {
            ShowError(this, QStringLiteral("Keine Lektion ausgewählt!"));
            return;
        }
        SelectedStatisticsLesson = selected.first()->text();
    } else {
        SelectedStatisticsLesson.clear();
    }
    PageControl1->setEnabled(true);
    HeaderControl1->show();
    StringGrid1->show();
    if (PageControl1->currentIndex() == 0)
        ShowTextEvaluation();
    else
        ShowGraphicalEvaluation();
}

void TForm8::PageControl1Change(int index)
{
    // With "Lektion" the lesson last evaluated stays, whatever is selected now.
    if (RadioButton2->isChecked())
        SelectedStatisticsLesson.clear();
    if (index == 1)
        ShowGraphicalEvaluation();
    else
        ShowTextEvaluation();
}

QList<StatisticsRecord> TForm8::MatchingRecords()
{
    RepaintPacer repaint;
    return MatchingStatisticsRecords(reader_, CurrentFileName(),
                                     TrimBlanks(SelectedStatisticsLesson), std::ref(repaint));
}

void TForm8::ShowTextEvaluation()
{
    const WaitCursor wait;
    StringGrid1->clearContents();
    const QList<StatisticsRecord> records = MatchingRecords();
    StringGrid1->setRowCount(std::max<int>(1, static_cast<int>(records.size())));
    for (int r = 0; r < records.size(); ++r) {
        const StatisticsRecord& record = records.at(r);
        const QString& date = record.date;
        const QString cells[] = {
            record.lesson,
            date.mid(0, 2) + QLatin1Char('.') + date.mid(2, 2) + QLatin1Char('.') + date.mid(4, 4),
            record.total,
            record.known,
            record.notKnown,
            record.deleted,
            record.time};
        for (int c = 0; c <= kLastSection; ++c)
            StringGrid1->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    FitGridToHeader();
}

void TForm8::ShowGraphicalEvaluation()
{
    const WaitCursor wait;
    QList<StatisticsRecord> records = MatchingRecords();
    chartWidth_ = std::max(chartWidth_, ChartWidthFor(static_cast<int>(records.size())));
    static_cast<ChartView*>(Image1)->showChart(std::move(records), chartWidth_);
}

void TForm8::HeaderControl1SectionResize(int section, int /*oldSize*/, int newSize)
{
    if (section >= 0 && section <= kLastSection && newSize < kSections[section].minimum) {
        // The resize this causes fits the grid.
        HeaderControl1->resizeSection(section, kSections[section].minimum);
        return;
    }
    FitGridToHeader();
}

void TForm8::FitGridToHeader()
{
    if (fitting_)
        return;
    const QScopedValueRollback guard(fitting_, true);

    const int headerHeight = HeaderControl1->sizeHint().height();
    const int gridHeight =
        StringGrid1->rowCount() * StringGrid1->verticalHeader()->defaultSectionSize();
    // The room the scroll box offers, less a vertical scroll bar when the grid needs one.
    const QSize room = ScrollBox1->maximumViewportSize();
    int available = room.width();
    if (headerHeight + gridHeight > room.height())
        available -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                          ScrollBox1->verticalScrollBar());

    int width = 0;
    for (int c = 0; c < kLastSection; ++c)
        width += HeaderControl1->sectionSize(c);
    HeaderControl1->resizeSection(kLastSection,
                                  std::max(kSections[kLastSection].minimum, available - width));
    width += HeaderControl1->sectionSize(kLastSection);

    for (int c = 0; c <= kLastSection; ++c)
        StringGrid1->setColumnWidth(c, HeaderControl1->sectionSize(c));
    HeaderControl1->setGeometry(0, 0, width, headerHeight);
    StringGrid1->setGeometry(0, headerHeight, width, gridHeight);
    gridArea_->resize(width, headerHeight + gridHeight);
}

void TForm8::Button2Click()
{
    // The whole picture exists only while it is copied.
    const WaitCursor wait;
    QImage chart(chartWidth_, kChartHeight, QImage::Format_RGB32);
    if (chart.isNull())
        return;  // too large to allocate: the clipboard stays as it was
    DrawStatisticsChart(chart, static_cast<ChartView*>(Image1)->records());
    QGuiApplication::clipboard()->setImage(chart);
}
