#pragma once

#include "formats/girder_identity.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPlainTextEdit;
class QString;

namespace prochnar {

// "Данные опоры": which girder the calculation documents, as the engineer
// names it: "Участок:", "Опора:", "Км:", "Дата осмотра:", "Проверил:" on a
// line each and "Примечание:" on several, each field announced by its
// caption, with "ОК" and "Отмена". The texts are kept as typed.
class IdentityDialog final : public QDialog {
    Q_OBJECT

public:
    // The identity to edit; hint, when not empty, is said above the fields.
    IdentityDialog(const GirderIdentity& identity, const QString& hint, QWidget* parent);

    // The identity as the fields hold it; a note no longer than a line of
    // the window holds (kWindowFieldChars), as the file is read back.
    [[nodiscard]] GirderIdentity identity() const;

private:
    std::array<QLineEdit*, kIdentityKeys.size() - 1> lines_{};
    QPlainTextEdit* note_;
};

} // namespace prochnar
