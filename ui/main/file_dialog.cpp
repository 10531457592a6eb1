#include "ui/main/file_dialog.h"

#include <QDate>
#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QStyle>
#include <QTime>
#include <QTreeView>

#include <algorithm>
#include <array>

namespace prochnar {

namespace {

// The columns of the toolkit's model of files.
constexpr int kSizeColumn = 1;
constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

// The type of a folder, which the toolkit's translations leave in English.
constexpr QStringView kFolder = u"Папка";

// "900 байт", "2 байта", "2,86 МБ": bytes counted as Russian counts them,
// larger sizes in the binary units of the program's messages.
QString sizeText(qint64 bytes)
{
    if (bytes < 1024) {
        const qint64 ones = bytes % 10;
        const bool few = ones >= 2 && ones <= 4 && (bytes % 100 < 12 || bytes % 100 > 14);
        return QStringLiteral("%1 %2").arg(bytes).arg(few ? QStringLiteral("байта") : QStringLiteral("байт"));
    }
    const std::array units{QStringLiteral("КБ"), QStringLiteral("МБ"), QStringLiteral("ГБ"), QStringLiteral("ТБ")};
    std::size_t unit = 0;
    auto value = static_cast<double>(bytes) / 1024;
    while (value >= 1024 && unit + 1 < units.size()) {
        value /= 1024;
        ++unit;
    }
    return QLocale().toString(value, 'f', 2) + QLatin1Char(' ') + units.at(unit);
}

// The toolkit's model of files words sizes and dates in the system's locale
// (the environment's: English under LANG=C) and a folder's type in English;
// this gives them in the program's words and locale, as the rest of the
// dialog speaks.
class ProgramLocaleFiles final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role == Qt::DisplayRole && files != nullptr) {
            const QModelIndex source = mapToSource(index);
            const bool folder = files->isDir(source);
            if (index.column() == kSizeColumn && !folder) {
                return sizeText(files->size(source));
            }
            if (index.column() == kTypeColumn && folder) {
                return kFolder.toString();
            }
            if (index.column() == kDateColumn) {
                return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
            }
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// The types the dialog's files may show: a folder's; for a file of an
// extension the filters name, the type registered for it or, where none is,
// what its contents make it, plain text or unknown data.
QStringList typeSamples(const QFileDialog& dialog)
{
    const QMimeDatabase types;
    QStringList texts{kFolder.toString(), types.mimeTypeForName(QStringLiteral("text/plain")).comment(),
                      types.mimeTypeForName(QStringLiteral("application/octet-stream")).comment()};
    static const QRegularExpression extension(QStringLiteral(R"(\*(\.[^ ;)]+))"));
    for (const QString& filter : dialog.nameFilters()) {
        for (auto found = extension.globalMatch(filter); found.hasNext();) {
            texts << types.mimeTypeForFile(QLatin1Char('x') + found.next().captured(1), QMimeDatabase::MatchExtension)
                         .comment();
        }
    }
    return texts;
}

// Texts as wide as the column's values get: the widest figures of each unit
// of size, a date with two-digit day and month, the types of typeSamples.
QStringList samples(int column, const QFileDialog& dialog)
{
    if (column == kSizeColumn) {
        QStringList texts{sizeText(1023)};
        for (qint64 unit = 1024; unit <= qint64{1} << 40; unit <<= 10) {
            texts << sizeText(unit * 1023);
        }
        return texts;
    }
    if (column == kDateColumn) {
        return {QLocale().toString(QDateTime(QDate(2000, 12, 28), QTime(23, 58)), QLocale::ShortFormat)};
    }
    return typeSamples(dialog);
}

// Once the dialog is laid out, before it is first drawn, grows it by what
// its list lacks to show every column whole: their widths may also come
// from the toolkit's memory of an earlier file dialog.
class ShowColumnsWhole final : public QObject {
public:
    ShowColumnsWhole(QTreeView& list, QObject* parent) : QObject(parent), list_{list} {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (auto* dialog = qobject_cast<QWidget*>(watched); dialog != nullptr && event->type() == QEvent::Show) {
            const int lacking = list_.header()->length() - list_.viewport()->width();
            if (lacking > 0) {
                dialog->resize(dialog->width() + lacking, dialog->height());
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTreeView& list_;
};

} // namespace

void fitFileDialog(QFileDialog& dialog)
{
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (list == nullptr) {
        return;
    }
    dialog.setProxyModel(new ProgramLocaleFiles(&dialog));
    QHeaderView* header = list->header();
    const QFontMetrics metrics = list->fontMetrics();
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1) +
                        2 * metrics.averageCharWidth();
    for (const int column : {kSizeColumn, kTypeColumn, kDateColumn}) {
        int width = header->sectionSizeHint(column);
        for (const QString& text : samples(column, dialog)) {
            width = std::max(width, metrics.horizontalAdvance(text) + margins);
        }
        header->resizeSection(column, std::max(width, header->sectionSize(column)));
    }
    dialog.installEventFilter(new ShowColumnsWhole(*list, &dialog));
}

} // namespace prochnar
