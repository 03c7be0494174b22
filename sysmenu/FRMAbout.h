#pragma once
// Sysdeck's about box: what the control is, its version, and six buttons
// (English and Portuguese pairs) that each show a short note.

#include <QDialog>

class QLabel;
class QPushButton;

class FRMAbout : public QDialog {
    Q_OBJECT
public:
    explicit FRMAbout(QWidget* parent = nullptr);

    QLabel* LBLTitulo = nullptr;
    QLabel* LBLVersao = nullptr;
    QLabel* LBLComment = nullptr;
    QLabel* LBLUso = nullptr;
    QLabel* LBLProjeto = nullptr;
    QPushButton* BTNOK = nullptr;

private:
    QPushButton* addNoteButton(const QString& caption, const QString& note);
};
