#include "ImportDialog.h"

#include "app/AnsiText.h"
#include "app/FileNames.h"
#include "app/Forms.h"
#include "app/Platform.h"
#include "app/SettingsStore.h"
#include "app/Widgets.h"
#include "tools/WinVokLibrary.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

template <typename T>
T* Named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* Caption(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// A label that shows a value: its text is what a screen reader hears, the caption describes it.
QLabel* ValueLabel(const char* name, const QString& description)
{
    auto* label = Named(new QLabel, name);
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleDescription(description);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

const char* const kFieldCaptions[kEntryFields] = {
    "&Lektion:", "&Deutsch:", "F&remdsprache:", "S&ynonyme:", "&Bemerkung:"};
const char* const kFieldHeadings[kEntryFields] = {"Lektion", "Deutsch", "Fremdsprache",
                                                  "Synonym(e)", "Bemerkung"};

}  // namespace

ImportDialog::ImportDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("Wortliste importieren"));

    // Created in tab order.
    sourceLabel = ValueLabel("sourceLabel", QStringLiteral("Wortliste"));
    formatBox = Named(new QComboBox, "formatBox");
    for (ListFormat format : {ListFormat::Csv, ListFormat::AnkiText, ListFormat::Kvtml})
        formatBox->addItem(FormatName(format), int(format));
    encodingBox = Named(new QComboBox, "encodingBox");
    for (TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Windows1252, TextEncoding::Utf16})
        encodingBox->addItem(EncodingName(encoding), int(encoding));
    separatorBox = Named(new QComboBox, "separatorBox");
    separatorBox->addItem(QStringLiteral("Semikolon (;)"), QStringLiteral(";"));
    separatorBox->addItem(QStringLiteral("Komma (,)"), QStringLiteral(","));
    separatorBox->addItem(QStringLiteral("Tabulator"), QStringLiteral("\t"));
    namesRowBox = Named(new QCheckBox(QStringLiteral("&Erste Zeile enthält die Spaltennamen")),
                        "namesRowBox");

    auto* form = new QFormLayout;
    form->addRow(new QLabel(QStringLiteral("Datei:")), sourceLabel);
    form->addRow(Caption(QStringLiteral("&Format:"), formatBox), formatBox);
    form->addRow(Caption(QStringLiteral("&Zeichensatz:"), encodingBox), encodingBox);
    form->addRow(Caption(QStringLiteral("&Trennzeichen:"), separatorBox), separatorBox);
    form->addRow(QString(), namesRowBox);

    auto* columns = Named(new QGroupBox(QStringLiteral("Spalten")), "columnsGroup");
    auto* columnGrid = new QGridLayout(columns);
    for (int k = 0; k < kEntryFields; ++k) {
        columnBoxes[k] = new QComboBox;
        columnBoxes[k]->setObjectName(QStringLiteral("columnBox%1").arg(k));
        columnBoxes[k]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        columnGrid->addWidget(Caption(QString::fromUtf8(kFieldCaptions[k]), columnBoxes[k]), k / 3,
                              (k % 3) * 2);
        columnGrid->addWidget(columnBoxes[k], k / 3, (k % 3) * 2 + 1);
    }
    lessonEdit = Named(new QLineEdit, "lessonEdit");
    lessonEdit->setMaxLength(kFieldWidth);
    lessonEdit->setValidator(new AnsiLineValidator(lessonEdit));
    columnGrid->addWidget(Caption(QStringLiteral("Lektion für Zeilen &ohne Lektion:"), lessonEdit),
                          2, 0, 1, 2);
    columnGrid->addWidget(lessonEdit, 2, 2, 1, 4);

    previewTable = Named(new QTableWidget(0, kEntryFields), "previewTable");
    QStringList headings;
    for (const char* heading : kFieldHeadings)
        headings.append(QString::fromUtf8(heading));
    previewTable->setHorizontalHeaderLabels(headings);
    previewTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    previewTable->setTabKeyNavigation(false);
    previewTable->horizontalHeader()->setStretchLastSection(true);
    previewTable->setMinimumHeight(220);
    const QString previewText =
        QStringLiteral("Vorschau (die ersten 20 Zeilen, wie sie gespeichert werden)");
    auto* previewCaption = Caption(u'&' + previewText + u':', previewTable);
    // A table does not take its name from its label; without row numbers there is no
    // unnamed corner button either.
    previewTable->setAccessibleName(previewText);
    previewTable->verticalHeader()->hide();

    countsLabel = ValueLabel("countsLabel", QStringLiteral("Zählung"));
    countsLabel->setWordWrap(true);

    auto* target = Named(new QGroupBox(QStringLiteral("Ziel")), "targetGroup");
    newFileButton = Named(new QRadioButton(QStringLiteral("&Neue Vokabeldatei")), "newFileButton");
    newFileEdit = Named(new QLineEdit, "newFileEdit");
    browseButton = Named(new QPushButton(QStringLiteral("...")), "browseButton");
    browseButton->setAccessibleName(QStringLiteral("Neue Vokabeldatei wählen"));
    browseButton->setToolTip(browseButton->accessibleName());
    browseButton->setAutoDefault(false);
    browseButton->setFixedWidth(
        browseButton->fontMetrics().horizontalAdvance(browseButton->text()) + 24);
    appendButton = Named(new QRadioButton(QStringLiteral("An die geöffnete Datei &anhängen:")),
                         "appendButton");
    appendLabel = ValueLabel("appendLabel", QStringLiteral("Geöffnete Datei"));
    newFileButton->setChecked(true);
    auto* targetGrid = new QGridLayout(target);
    targetGrid->addWidget(newFileButton, 0, 0, 1, 3);
    targetGrid->addWidget(Caption(QStringLiteral("Dateina&me:"), newFileEdit), 1, 0);
    targetGrid->addWidget(newFileEdit, 1, 1);
    targetGrid->addWidget(browseButton, 1, 2);
    targetGrid->addWidget(appendButton, 2, 0, 1, 3);
    targetGrid->addWidget(appendLabel, 3, 1, 1, 2);
    targetGrid->setColumnStretch(1, 1);

    progressBar = Named(new QProgressBar, "progressBar");
    progressBar->setRange(0, 1000);
    progressBar->setTextVisible(false);
    progressBar->setAccessibleName(QStringLiteral("Fortschritt"));
    progressBar->setVisible(false);
    importButton = Named(new QPushButton(QStringLiteral("&Importieren")), "importButton");
    importButton->setDefault(true);
    cancelButton = Named(new QPushButton(QStringLiteral("Abbrechen")), "cancelButton");
    cancelButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(progressBar, 1);
    buttons->addStretch();
    buttons->addWidget(importButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(columns);
    layout->addWidget(previewCaption);
    layout->addWidget(previewTable, 1);
    layout->addWidget(countsLabel);
    layout->addWidget(target);
    layout->addLayout(buttons);
    resize(720, 680);

    const auto reread = [this] {
        if (!updating_)
            this->reread();
    };
    connect(formatBox, &QComboBox::currentIndexChanged, this, reread);
    connect(encodingBox, &QComboBox::currentIndexChanged, this, reread);
    connect(separatorBox, &QComboBox::currentIndexChanged, this, reread);
    connect(namesRowBox, &QCheckBox::toggled, this, reread);
    for (QComboBox* box : columnBoxes)
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!updating_)
                remap();
        });
    connect(lessonEdit, &QLineEdit::editingFinished, this, [this] {
        if (!updating_ && lessonEdit->isModified()) {
            lessonEdit->setModified(false);
            remap();
        }
    });
    connect(appendButton, &QRadioButton::toggled, this, [this] {
        newFileEdit->setEnabled(newFileButton->isChecked());
        browseButton->setEnabled(newFileButton->isChecked());
        if (!updating_)
            recount();
    });
    connect(browseButton, &QPushButton::clicked, this, &ImportDialog::browseClicked);
    connect(importButton, &QPushButton::clicked, this, &ImportDialog::importClicked);
    connect(cancelButton, &QPushButton::clicked, this, &ImportDialog::reject);
}

bool ImportDialog::setSource(const QString& sourcePath, const QString& openFile,
                             int openFileEntries)
{
    ListDetection detection;
    {
        const WaitCursor waitCursor;
        detection = DetectListFile(sourcePath);
    }
    if (!detection.error.isEmpty()) {
        ShowError(parentWidget(), detection.error);
        return false;
    }
    source_ = sourcePath;
    openFile_ = openFile;
    openFileEntries_ = openFileEntries;
    updating_ = true;
    sourceLabel->setText(QDir::toNativeSeparators(sourcePath));
    formatBox->setCurrentIndex(formatBox->findData(int(detection.settings.format)));
    encodingBox->setCurrentIndex(encodingBox->findData(int(detection.settings.encoding)));
    selectSeparator(detection.settings.separator);
    namesRowBox->setChecked(detection.settings.columnNamesRow);
    const QString lesson = QFileInfo(sourcePath).completeBaseName().left(kFieldWidth);
    lessonEdit->setText(IsAnsiEncodable(lesson) && !lesson.isEmpty() ? lesson
                                                                     : QStringLiteral("Import"));
    newFileEdit->setText(QDir::toNativeSeparators(proposedTarget()));
    appendLabel->setText(openFile.isEmpty() ? QStringLiteral("(keine Datei geöffnet)")
                                            : QDir::toNativeSeparators(openFile));
    appendButton->setEnabled(!openFile.isEmpty());
    newFileButton->setChecked(true);
    updating_ = false;
    reread();
    return true;
}

bool ImportDialog::setSource(const QString& sourcePath, VocabularyFile* openFile)
{
    const bool open = openFile && openFile->isOpen();
    openVocabulary_ = open ? openFile : nullptr;
    return setSource(sourcePath, open ? openFile->path() : QString(),
                     open ? openFile->entryCount() : -1);
}

QString ImportDialog::proposedTarget() const
{
    const QString plain = ReplaceExtension(source_, QStringLiteral(".vok"));
    QString name = plain;
    for (int n = 2; n < 100 && (QFileInfo::exists(name) || QFileInfo(name).isSymLink()); ++n)
        name = ReplaceExtension(source_, QStringLiteral(" (%1).vok").arg(n));
    return name;
}

void ImportDialog::selectSeparator(QChar separator)
{
    int index = separatorBox->findData(QString(separator));
    if (index < 0) {
        separatorBox->addItem(QStringLiteral("„%1“").arg(separator), QString(separator));
        index = separatorBox->count() - 1;
    }
    separatorBox->setCurrentIndex(index);
}

ImportSettings ImportDialog::settings() const
{
    ImportSettings settings;
    settings.list.format = ListFormat(formatBox->currentData().toInt());
    settings.list.encoding = TextEncoding(encodingBox->currentData().toInt());
    const QString separator = separatorBox->currentData().toString();
    settings.list.separator = separator.isEmpty() ? QLatin1Char(';') : separator.at(0);
    settings.list.columnNamesRow = namesRowBox->isChecked();
    for (int k = 0; k < kEntryFields; ++k)
        settings.mapping.column[k] = columnBoxes[k]->currentData().toInt();
    settings.defaultLesson = lessonEdit->text();
    return settings;
}

ExchangeProgress ImportDialog::progress()
{
    return [this, pace = std::make_shared<RepaintPacer>()](int permille) {
        progressBar->setValue(permille);
        (*pace)();
    };
}

void ImportDialog::setBusy(bool busy)
{
    busy_ = busy;
    if (busy)
        focus_ = focusWidget();
    for (QWidget* widget : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (widget != progressBar && !qobject_cast<QLabel*>(widget))
            widget->setEnabled(!busy);
    progressBar->setValue(0);
    progressBar->setVisible(busy);
    if (!busy && focus_)
        focus_->setFocus();
}

void ImportDialog::reread()
{
    const ListSettings list = settings().list;
    const bool delimited = list.format != ListFormat::Kvtml;
    separatorBox->setEnabled(delimited);
    encodingBox->setEnabled(delimited);
    namesRowBox->setEnabled(list.format == ListFormat::Csv);
    {
        const WaitCursor waitCursor;
        setBusy(true);
        QFile file(source_);
        preview_ = file.open(QIODevice::ReadOnly)
                       ? ReadPreview(file, list, kPreviewRows, progress())
                       : ListPreview{QStringLiteral("Die Datei %1 kann nicht gelesen werden.")
                                         .arg(QDir::toNativeSeparators(source_)),
                                     {},
                                     0,
                                     {},
                                     {},
                                     {}};
        setBusy(false);
    }
    updating_ = true;
    for (int k = 0; k < kEntryFields; ++k) {
        QComboBox* box = columnBoxes[k];
        box->clear();
        box->addItem(QStringLiteral("(keine)"), -1);
        for (int c = 0; c < preview_.columns; ++c) {
            const QString name = preview_.columnNames.value(c).trimmed().left(40);
            box->addItem(name.isEmpty() ? QStringLiteral("Spalte %1").arg(c + 1)
                                        : QStringLiteral("Spalte %1: %2").arg(c + 1).arg(name),
                         c);
        }
        box->setCurrentIndex(std::max(0, box->findData(preview_.mapping.column[k])));
    }
    if (!preview_.fileLesson.isEmpty() && IsAnsiEncodable(preview_.fileLesson))
        lessonEdit->setText(preview_.fileLesson.left(kFieldWidth));
    updating_ = false;
    remap();
}

void ImportDialog::remap()
{
    const ImportSettings current = settings();
    previewTable->setRowCount(int(preview_.rows.size()));
    for (int r = 0; r < preview_.rows.size(); ++r) {
        const ImportedRow row =
            RowToEntry(preview_.rows[r], current.mapping, current.defaultLesson);
        const QString note =
            row.kind == RowKind::Empty     ? QStringLiteral("Leere Zeile: wird übersprungen")
            : row.kind == RowKind::Refused ? QStringLiteral(
                                                 "Ohne deutschen oder fremdsprachigen "
                                                 "Begriff: wird nicht übernommen")
                                           : QString();
        for (int k = 0; k < kEntryFields; ++k) {
            auto* item = new QTableWidgetItem(row.entry.field(k));
            if (!note.isEmpty()) {
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
                item->setToolTip(note);
            }
            previewTable->setItem(r, k, item);
        }
        auto* number = new QTableWidgetItem(note.isEmpty() ? QString::number(r + 1)
                                                           : QStringLiteral("(%1)").arg(r + 1));
        number->setToolTip(note);
        previewTable->setVerticalHeaderItem(r, number);
    }
    previewTable->resizeColumnsToContents();
    recount();
}

void ImportDialog::recount()
{
    if (!preview_.error.isEmpty()) {
        counted_ = {preview_.error, {}, {}};
    } else {
        const WaitCursor waitCursor;
        setBusy(true);
        counted_ = CountImportFile(
            source_, settings(),
            appendButton->isChecked() ? TargetMode::Append : TargetMode::NewFile, progress());
        setBusy(false);
    }
    countsLabel->setText(counted_.ok() ? CountsText(counted_.counts) : counted_.error);
    importButton->setEnabled(counted_.ok() && counted_.counts.entries > 0);
}

void ImportDialog::browseClicked()
{
    const std::optional<QString> chosen =
        ChooseFile(this, QStringLiteral("Neue Vokabeldatei wählen"),
                   QStringLiteral("Lernkompass (*.vok)"), FileChoice::MayBeNew);
    if (!chosen)
        return;
    newFileEdit->setText(
        QDir::toNativeSeparators(ReplaceExtension(*chosen, QStringLiteral(".vok"))));
}

void ImportDialog::importClicked()
{
    if (busy_ || !importButton->isEnabled())
        return;
    ImportSettings current = settings();
    if (current.defaultLesson.trimmed().isEmpty()) {
        ShowError(this, QStringLiteral("Bitte eine Lektion für Zeilen ohne Lektion angeben."));
        lessonEdit->setFocus();
        return;
    }
    ImportTarget target;
    if (appendButton->isChecked()) {
        target = {openFile_, TargetMode::Append, false, openFileEntries_, openVocabulary_};
    } else {
        const QString path = QDir::fromNativeSeparators(newFileEdit->text().trimmed());
        QString refusal;
        if (path.isEmpty())
            refusal = QStringLiteral("Bitte einen Namen für die neue Vokabeldatei angeben.");
        else if (path == source_ || NamesSameFile(path, source_))
            refusal = QStringLiteral("Die Wortliste kann nicht in sich selbst importiert werden.");
        else if (!openFile_.isEmpty() && (path == openFile_ || NamesSameFile(path, openFile_)))
            refusal = QStringLiteral(
                "Die geöffnete Datei kann nicht ersetzt werden. Um an sie "
                "anzuhängen, bitte „An die geöffnete Datei anhängen“ wählen.");
        if (!refusal.isEmpty()) {
            ShowError(this, refusal);
            newFileEdit->setFocus();
            return;
        }
        const bool exists = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
        if (exists &&
            !AskYesNo(this, QStringLiteral("Die Datei %1 existiert bereits. Überschreiben?")
                                .arg(QDir::toNativeSeparators(path))))
            return;
        target = {path, TargetMode::NewFile, exists, -1, nullptr};
    }
    const bool fitting = counted_.counts.needsFitting();
    if (fitting && !AskYesNo(this, FittingQuestion(counted_.counts)))
        return;

    ImportResult result;
    {
        const WaitCursor waitCursor;
        setBusy(true);
        result = ImportListFile(source_, current, target, fitting, progress());
        setBusy(false);
    }
    if (!result.ok()) {
        ShowError(this, result.error);
        recount();
        return;
    }
    targetPath_ = target.path;
    appended_ = target.mode == TargetMode::Append;
    imported_ = result.counts;
    ShowNotice(this, QStringLiteral("Der Import ist abgeschlossen.\n\n") +
                         CountsText(result.counts, true));
    accept();
}

void ImportDialog::closeEvent(QCloseEvent* event)
{
    // A running import is never cut short.
    if (busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ImportDialog::reject()
{
    if (!busy_)
        QDialog::reject();
}
