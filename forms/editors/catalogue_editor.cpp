// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/editors/catalogue_editor.h"

#include "forms/common/handlers.h"
#include "forms/common/open_dialog.h"
#include "forms/common/pictures.h"
#include "forms/common/window_setup.h"
#include "forms/editors/file_entry_steps.h"
#include "forms/editors/status_picker.h"
#include "forms/main_window/keyboard.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLineEdit>
#include <QTimer>
#include <utility>

CatalogueEditor::CatalogueEditor(EditedList list, OpenDialog& openDialog, QWidget* parent)
    : QDialog(parent), m_list(list), m_openDialog(openDialog)
{
}

void CatalogueEditor::setUpEditor(const EditorLayout& layout)
{
    WindowSetup::MakeFixedDialog(this, layout.clientSize);
    WindowSetup::StyleFileDialog(this, layout.box);
    setWindowIcon(Pictures::Icon(layout.icon));
    m_browse = layout.browse;
    layout.browse->setIcon(Pictures::Icon("browse"));
    layout.browse->setFocusPolicy(Qt::TabFocus);
    layout.browse->setShortcut(QKeySequence(Qt::ALT | Qt::Key_B));
    Keyboard::PressOnEnter(layout.browse);
    if (layout.fileField)
        setTabOrder(layout.fileField, layout.browse);
    WindowSetup::SetButtonGlyphs(layout.ok, layout.close);

    using Handlers::Guard;
    connect(layout.browse, &QAbstractButton::clicked, this,
            Guard(this, &CatalogueEditor::SpeedButton1Click));
    connect(layout.ok, &QAbstractButton::clicked, this,
            Guard(this, &CatalogueEditor::BitBtn1Click));
    connect(layout.close, &QAbstractButton::clicked, this,
            Guard(this, &CatalogueEditor::BitBtn2Click));
}

void CatalogueEditor::showEvent(QShowEvent* event)
{
    Handlers::Run([this] { FormShow(); });
    QDialog::showEvent(event);
}

void CatalogueEditor::FormShow()
{
    emit opened(m_list);
    if (m_dropped.isEmpty())
        return;
    // Once the dialog is up, so that the browse's messages stand over it.
    const QString file = std::exchange(m_dropped, QString());
    QTimer::singleShot(0, this, [this, file] {
        if (!isVisible())
            return;
        m_openDialog.PickNext(file);
        m_browse->click(); // guarded as every click is
        m_openDialog.PickNext({});
    });
}

void CatalogueEditor::BitBtn2Click()
{
    reject();
}

void CatalogueEditor::finishWrite(std::initializer_list<QWidget*> fields, const std::string& group,
                                  const QString& question)
{
    for (QWidget* field : fields) {
        if (auto* picker = qobject_cast<StatusPicker*>(field))
            picker->setStatusCode(-1);
        else if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->clear();
    }
    emit written(m_list, group);
    FileEntrySteps::AskToAddAnother(this, question);
}
