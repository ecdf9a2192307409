// Message boxes and file dialogs as the command logic asks for them.
#pragma once

#include <string>

#include <QString>
#include <QStringList>

#include "vellonix/ui/ui_services.hpp"

class QWidget;

namespace vellonix::ui::qt {

// "Description|pattern;pattern|..." as Qt name filters "Description (pattern pattern)";
// a description that already ends in its patterns in parentheses keeps them there.
QStringList QtNameFilters(const std::string& filter);

// The suffix a typed name without one gets under the Qt name filter: the
// first pattern's extension ("*.sad" -> "sad"), or empty for "*.*" and "*".
QString SuffixOfNameFilter(const QString& nameFilter);

// Modal; the box's frame placed with its top-left corner at `topLeft`; the
// detail, if any, is the box's informative text below its own line.
MessageResult ShowPlacedMessage(QWidget* parent, const std::string& text, MessageKind kind, MessageButtons buttons,
                                ScreenPoint topLeft, const std::string& detail = {});

OpenFileResult RunOpenDialog(QWidget* parent, const OpenFileRequest& request);
SaveFileResult RunSaveDialog(QWidget* parent, const SaveFileRequest& request);

}  // namespace vellonix::ui::qt
