#pragma once
// The run confirmation window: the four choices of the run, and Start, which stages the files
// and starts the flasher, or Exit.

#include <QDialog>
#include <QScopedPointer>

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

    Ui::To_fConfiguration* ui() const { return m_ui.data(); }

private slots:
    void BitBtn1Click();

private:
    const QScopedPointer<Ui::To_fConfiguration> m_ui;
};

extern To_fConfiguration* o_fConfiguration;
