#pragma once

#include <QDialog>

class QTableWidget;
class VocabularyFile;

// The lesson overview: every lesson of the editor's open file with its number of entries,
// in the order in which the lessons first occur.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    // Shows the overview of the file modally.
    void ShowOverview(VocabularyFile& file);

    QTableWidget* StringGrid1;

    static constexpr int kRowHeight = 16;
    static constexpr int kColumnWidth = 120;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    VocabularyFile* file_ = nullptr;
};
