#pragma once

#include "ListImport.h"

#include <QDialog>
#include <QPointer>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

// The import of a word list: the detected format and encoding (changeable), the column of
// each field, a preview of the first rows as they will be stored, the counts of what fits
// and what does not, and the target, a new vocabulary file beside the list or the file open
// in the editor. Nothing is written before "&Importieren", and a cut or replaced entry only
// after the user agreed to it.
class ImportDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPreviewRows = 20;

    explicit ImportDialog(QWidget* parent = nullptr);

    // Prepares the dialog for the list at sourcePath. openFile is the vocabulary file open
    // in the editor (empty: none) with the entry count the editor knows; it is offered as
    // the target to append to. False, after a message, when the file is no word list.
    bool setSource(const QString& sourcePath, const QString& openFile = {},
                   int openFileEntries = -1);
    // The same with the editor's open file, which is appended to through its own handle:
    // a second handle would not get past the editor's lock.
    bool setSource(const QString& sourcePath, VocabularyFile* openFile);

    // After the import: the file written and whether it was appended to.
    QString targetPath() const { return targetPath_; }
    bool appended() const { return appended_; }
    const ImportCounts& importedCounts() const { return imported_; }

    ImportSettings settings() const;

    QLabel* sourceLabel;
    QComboBox* formatBox;
    QComboBox* encodingBox;
    QComboBox* separatorBox;
    QCheckBox* namesRowBox;
    std::array<QComboBox*, kEntryFields> columnBoxes;
    QLineEdit* lessonEdit;
    QTableWidget* previewTable;
    QLabel* countsLabel;
    QRadioButton* newFileButton;
    QLineEdit* newFileEdit;
    QPushButton* browseButton;
    QRadioButton* appendButton;
    QLabel* appendLabel;
    QProgressBar* progressBar;
    QPushButton* importButton;
    QPushButton* cancelButton;

public Q_SLOTS:
    void importClicked();
    void browseClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // After a change of format, encoding, separator or the names row: reads the preview
    // anew and takes its suggested mapping.
    void reread();
    // After a change of the mapping or the default lesson: the preview rows and the counts.
    void remap();
    void recount();
    void setBusy(bool busy);
    ExchangeProgress progress();
    void selectSeparator(QChar separator);
    QString proposedTarget() const;

    QString source_;
    QString openFile_;
    int openFileEntries_ = -1;
    VocabularyFile* openVocabulary_ = nullptr;
    ListPreview preview_;
    ImportResult counted_;
    bool busy_ = false;
    QPointer<QWidget> focus_;  // where the focus was before a long job
    bool updating_ = false;
    QString targetPath_;
    bool appended_ = false;
    ImportCounts imported_;
};
