#pragma once

#include <QTextBrowser>

namespace prochnar {

class ReferenceFiles;

// The program's help: the document Help.hlp shown as rich text in a window
// of its own, beside the main window and not blocking it. When the document
// cannot be read, the window says so in one line.
class HelpWindow final : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpWindow(const ReferenceFiles& files);
};

} // namespace prochnar
