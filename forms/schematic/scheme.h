// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The schematic window: shows a phone group's wiring schematic large, stretched over the whole
// window, and prints it, on the default printer or into a PDF file: one page with the group's
// name above the drawing, fitted to the printable area with its proportions kept. Not modal, and
// without a parent window: shown from the open phone group dialog, both take input.

#include <QPointer>
#include <QScopedPointer>
#include <QWidget>
#include <string>

class Picture;
class QMenu;
class QPrinter;

namespace Ui
{
class To_fScheme;
}

class To_fScheme : public QWidget
{
    Q_OBJECT

public:
    explicit To_fScheme(QWidget* parent = nullptr);
    ~To_fScheme() override;

    // Takes a copy of the picture and shows the window, or brings it to the front when it is
    // shown already. The group's name (bytes, perhaps empty) titles the printed page. A window
    // shown from an open modal dialog takes input beside that dialog; one that was shown before the
    // dialog opened waits, like every other window, until it closes.
    void ShowPicture(const Picture& picture, QWidget* fromDialog, const std::string& group = {});

    Ui::To_fScheme* ui() const { return m_ui.data(); }
    QMenu* PopupMenu1() const { return m_popupMenu; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void Printscheme1Click();
    void PrinttoPDF1Click();
    void exit1Click();

private:
    // Moves the window beside the dialog it is shown from, rather than over it.
    void placeBeside(const QWidget* dialog);
    // Prints the page; failure is the error's text when the printer cannot start or finish.
    void print(QPrinter& printer, const std::string& failure);

    const QScopedPointer<Ui::To_fScheme> m_ui;
    QMenu* m_popupMenu = nullptr;
    // The modal dialog the window was shown from, while that dialog is open.
    QPointer<QWidget> m_besideDialog;
    std::string m_group;
};

extern To_fScheme* o_fScheme;
