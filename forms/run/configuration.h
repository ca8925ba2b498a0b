// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The run confirmation window: the four choices of the run, and Start or Exit. What Start does is
// the run controller's (run_controller.h); the window only asks.

#include "library/run_selection.h"

#include <QDialog>
#include <QScopedPointer>
#include <functional>
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

    // Fills the four lines from the run selection and the phone group, and shows the window
    // modally; returns when it closes. Start calls start while the window is up, and the window
    // closes once start has returned, whatever it did.
    void ShowRun(const RunSelection& selection, const std::string& group,
                 const std::function<void()>& start);

    Ui::To_fConfiguration* ui() const { return m_ui.data(); }

private slots:
    void BitBtn1Click();

private:
    const QScopedPointer<Ui::To_fConfiguration> m_ui;
    // What Start does while the window is shown.
    std::function<void()> m_start;
};

extern To_fConfiguration* o_fConfiguration;
