// SPDX-License-Identifier: GPL-2.0-or-later
#include "window_fixture.h"

#include "forms/editors/status_picker.h"
#include "forms/main_window/main.h"
#include "library/data_folder.h"
#include "test_pictures.h"
#include "ui_main.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTimer>

namespace
{

// A row can only be clicked on the page in front.
void showPageOf(QWidget* list)
{
    for (QWidget* page = list; page && page->parentWidget(); page = page->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget());
            tabs && tabs->indexOf(page) >= 0) {
            tabs->setCurrentWidget(page);
            break;
        }
    }
}

} // namespace

WindowTest::WindowTest()
{
    // The windows take the program's data folder, set once at start as main() does.
    DataFolder::Set(drive.dataFolder());
    // The program's settings go into the test's own folder, never into the user's.
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope,
                           QString::fromStdString((drive.root() / "settings").string()));
    MessageBoxes::SetAnswerer([this](const ShownMessage& message) {
        messages.push_back(message);
        return answer;
    });
}

WindowTest::~WindowTest()
{
    windows.reset();
    MessageBoxes::SetAnswerer(nullptr);
}

void WindowTest::start()
{
    windows = std::make_unique<Windows>(TestPictures::Helper());
    o_fMain->show();
}

std::vector<QString> WindowTest::takeMessages()
{
    std::vector<QString> texts;
    for (const auto& message : messages)
        texts.push_back(message.text);
    messages.clear();
    return texts;
}

void WindowTest::clickRow(QTreeWidget* list, int row)
{
    showPageOf(list);
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void WindowTest::doubleClickRow(QTreeWidget* list, int row)
{
    showPageOf(list);
    const QPoint point = row == EmptySpot ? QPoint(10, list->viewport()->height() - 5)
                                          : list->visualItemRect(list->topLevelItem(row)).center();
    // Through the window, so that the double-click comes as the platform sends it.
    QWidget* window = list->window();
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                       list->viewport()->mapTo(window, point));
}

QWidget* WindowTest::modalShownBy(const std::function<void()>& action)
{
    QPointer<QWidget> shown;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(shown.data()))
            dialog->reject();
    });
    action();
    QTest::qWait(0); // lets the single shot run when nothing was shown
    return shown;
}

void WindowTest::showGroupPage(const QString& group)
{
    QTabWidget* pages = o_fMain->ui()->PageControl2;
    for (int index = 0; index < pages->count(); ++index) {
        if (pages->tabText(index) == group) {
            pages->setCurrentIndex(index);
            return;
        }
    }
    ADD_FAILURE() << "no group page " << group.toStdString();
}

QTreeWidget* WindowTest::activeFlashList()
{
    QWidget* page = o_fMain->ui()->PageControl2->currentWidget();
    return page ? page->findChild<QTreeWidget*>() : nullptr;
}

void WindowTest::whileShown(const std::function<void()>& steps, const std::function<void()>& open)
{
    QTimer::singleShot(0, steps);
    open();
}

QStringList WindowTest::fieldsOf(const QDialog* dialog)
{
    QStringList shown;
    for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (const auto* line = qobject_cast<const QLineEdit*>(widget))
            shown << line->text();
        else if (const auto* picker = qobject_cast<const StatusPicker*>(widget))
            shown << QString::number(picker->statusCode());
    }
    return shown;
}

void WindowTest::setFields(QDialog* dialog, const QStringList& texts)
{
    auto text = texts.begin();
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (text == texts.end())
            break;
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            line->setText(*text++);
        else if (auto* picker = qobject_cast<StatusPicker*>(widget))
            picker->setStatusCode((text++)->toInt());
    }
    EXPECT_EQ(text, texts.end()) << "more texts than fields";
}

EditorDialogTest::EditorDialogTest()
{
    OpenDialog::SetAnswerer([this](const OpenDialog& dialog) -> std::optional<QString> {
        seenDialogs.push_back(dialog);
        return nextPick;
    });
}

EditorDialogTest::~EditorDialogTest()
{
    OpenDialog::SetAnswerer(nullptr);
}

QString EditorDialogTest::pickable(const char* logicalPath, const char* bytes)
{
    if (bytes)
        drive.write(logicalPath, bytes);
    return QString::fromStdString(Drive::NativePath(logicalPath).string());
}

void EditorDialogTest::showDialog(QDialog* dialog)
{
    dialog->show();
    QApplication::setActiveWindow(dialog);
}

QStringList EditorDialogTest::pickerTexts() const
{
    if (seenDialogs.empty())
        return {};
    const OpenDialog& last = seenDialogs.back();
    return {last.Title, last.DefaultExt, last.Filter};
}
