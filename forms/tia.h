#pragma once
// The TIA dialog: adds a TIA file (flash loader) to the library and edits its catalogue entry.
// Its fields keep their contents from one showing to the next; only a completed OK clears them.

#include <QDialog>
#include <QScopedPointer>
#include <string>

namespace Ui
{
class To_fTia;
}

class To_fTia : public QDialog
{
    Q_OBJECT

public:
    explicit To_fTia(QWidget* parent = nullptr);
    ~To_fTia() override;

    // Fills the dialog from the TIA catalogue entry of that name and shows it.
    void EditTiaEntry(const std::string& name);

    Ui::To_fTia* ui() const { return m_ui.data(); }

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void SpeedButton1Click();
    void BitBtn1Click();
    void BitBtn2Click();

private:
    void FormShow();

    const QScopedPointer<Ui::To_fTia> m_ui;
};

extern To_fTia* o_fTia;
