// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Names and values from the catalogues are bytes, and keep their exact bytes through every
// widget and back: only what is displayed is decoded, UTF-8 where the bytes are valid UTF-8,
// else Windows-1252 (the code page such libraries were written in). Text the user types is
// stored as UTF-8. A widget filled from bytes gives the same bytes back until the user edits it.

#include <QString>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidgetItem;
class QWidget;

// The text shown for catalogue bytes.
QString fromBytes(std::string_view bytes);

// The bytes stored for text the user typed: UTF-8.
std::string toBytes(const QString& typed);

namespace Text
{

void Show(QLineEdit* field, std::string_view bytes);
std::string Bytes(const QLineEdit* field);

void Show(QTreeWidgetItem* item, int column, std::string_view bytes);
std::string Bytes(const QTreeWidgetItem* item, int column);

// A page added at the end, its tab captioned with the bytes; returns its index.
int AddTab(QTabWidget* tabs, QWidget* page, std::string_view bytes);
std::string TabBytes(const QTabWidget* tabs, int index);

// Plain text, never rich text: a catalogue value such as "x <br> y" is shown as written.
void Show(QLabel* label, std::string_view bytes);

// A tooltip that shows the text as written, on one line: a tooltip would take text that looks
// like rich text for rich text.
QString PlainToolTip(const QString& text);

} // namespace Text
