#include "ui/main/report_offer.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace prochnar {

bool askToOpenReport(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Прочнар"), text, QMessageBox::Open | QMessageBox::Close,
                    parent);
    box.button(QMessageBox::Open)->setText(QStringLiteral("Открыть"));
    box.button(QMessageBox::Close)->setText(QStringLiteral("Закрыть"));
    box.setDefaultButton(QMessageBox::Open);
    box.setEscapeButton(QMessageBox::Close);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Open;
}

void offerReport(QWidget* parent, const QString& path, const QString& lead, const OpenQuestion& ask,
                 const UrlOpener& open, const MessagePresenter& present)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (ask(parent, QStringLiteral("%1 «%2».").arg(lead, shown)) && !open(QUrl::fromLocalFile(path))) {
        present(parent,
                QStringLiteral("Отчет «%1» не открыт: в системе нет программы, которая показывает документы PDF.")
                    .arg(shown),
                MessageIcon::Error);
    }
}

} // namespace prochnar
