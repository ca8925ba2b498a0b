#pragma once
// The flash file dialog: adds a flash image to the phone group whose page is in front in the
// main window and edits its catalogue entry. Every showing takes the group from the main window;
// the other fields keep their contents from one showing to the next until a completed OK.

#include <QDialog>
#include <QScopedPointer>
#include <string>

namespace Ui
{
class To_fFlash;
}

class To_fFlash : public QDialog
{
    Q_OBJECT

public:
    explicit To_fFlash(QWidget* parent = nullptr);
    ~To_fFlash() override;

    // Fills the dialog from the flash catalogue entry of that name of the group in front and
    // shows it.
    void EditFlashEntry(const std::string& name);

    Ui::To_fFlash* ui() const { return m_ui.data(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void SpeedButton1Click();
    void BitBtn1Click();
    void BitBtn2Click();

    // The group the dialog works on: the bytes of o_tPhoneGroup.
    std::string group() const;

    const QScopedPointer<Ui::To_fFlash> m_ui;
};

extern To_fFlash* o_fFlash;
