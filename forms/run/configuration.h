// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The run confirmation window: the four choices of the run, and Start, which stages the files
// and starts the flasher, or Exit. It tells what became of the start; the main window shows it.

#include "library/run_selection.h"

#include <QDialog>
#include <QScopedPointer>
#include <string>

namespace Ui
{
class To_fConfiguration;
}

class To_fConfiguration : public QDialog
{
    Q_OBJECT

public:
    explicit To_fConfiguration(QWidget* parent = nullptr);
    ~To_fConfiguration() override;

    // Fills the four lines from the run selection and the phone group in front, and shows the
    // window modally; returns when it closes.
    void ShowRun(const RunSelection& selection, const std::string& group);

    Ui::To_fConfiguration* ui() const { return m_ui.data(); }

signals:
    // The flasher was started; the line says how and since when (and through which port).
    void flasherStarted(const QString& statusLine);
    // A flasher started here ended; the line says when and what came of it.
    void flasherEnded(const QString& statusLine);

private slots:
    void BitBtn1Click();

private:
    const QScopedPointer<Ui::To_fConfiguration> m_ui;
    // The run shown, which Start stages.
    RunSelection m_selection;
    std::string m_group;
};

extern To_fConfiguration* o_fConfiguration;
