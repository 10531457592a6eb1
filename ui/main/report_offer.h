#pragma once

#include "ui/about/url_opener.h"
#include "ui/main/widget_form.h"

#include <QString>

#include <functional>

class QWidget;

namespace prochnar {

// Tells where a report went and asks whether to open it; true to open it.
using OpenQuestion = std::function<bool(QWidget* parent, const QString& text)>;

// The question the windows start with: a modal box titled "Прочнар" with
// the buttons "Открыть" and "Закрыть".
bool askToOpenReport(QWidget* parent, const QString& text);

// Tells in words where the report at path went ("Отчет записан в «…».",
// what leads the text) and opens it if the user wants; says so when the
// system has nothing that shows a PDF.
void offerReport(QWidget* parent, const QString& path, const QString& lead, const OpenQuestion& ask,
                 const UrlOpener& open, const MessagePresenter& present);

} // namespace prochnar
