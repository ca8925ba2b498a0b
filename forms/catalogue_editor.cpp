// SPDX-License-Identifier: GPL-2.0-or-later
#include "catalogue_editor.h"

#include "file_entry_steps.h"
#include "handlers.h"
#include "keyboard.h"
#include "pictures.h"
#include "status_picker.h"
#include "window_setup.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLineEdit>

CatalogueEditor::CatalogueEditor(EditedList list, OpenDialog& openDialog, QWidget* parent)
    : QDialog(parent), m_list(list), m_openDialog(openDialog)
{
}

void CatalogueEditor::setUpEditor(const EditorLayout& layout)
{
    WindowSetup::MakeFixedDialog(this, layout.clientSize);
    WindowSetup::StyleFileDialog(this, layout.box);
    setWindowIcon(Pictures::Icon(layout.icon));
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
