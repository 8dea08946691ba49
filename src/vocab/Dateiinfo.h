#pragma once

#include "VocabularyFile.h"

#include <QDialog>

class QLabel;
class QLineEdit;

// The file information: title, author and remarks of a vocabulary file. From the editor
// (mode 1) the header can be changed and is written back on every closing; from the
// learning window (mode 2) it is only shown.
class TForm4 : public QDialog {
    Q_OBJECT

public:
    enum Mode { EditMode = 1, ReadOnlyMode = 2 };

    explicit TForm4(QWidget* parent = nullptr);

    // Shows and edits the header of the editor's open file.
    void ShowForEditor(VocabularyFile& file);
    // Shows a header read by the caller; no file is touched.
    void ShowReadOnly(const VocabularyHeader& header);

    int mode() const { return mode_; }

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;

    static constexpr int kClientWidth = 417;
    static constexpr int kClientHeight = 121;

public Q_SLOTS:
    // Every way of closing (close box, Esc) ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void FormClose();
    void Edit1KeyDown();
    void Edit2KeyDown();
    void Edit3KeyDown();
    void setMode(int mode);
    void setTexts(const VocabularyHeader& header);

    int mode_ = EditMode;
    VocabularyFile* file_ = nullptr;
};
