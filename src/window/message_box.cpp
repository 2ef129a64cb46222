#include "window/message_box.h"

#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

namespace tf {

void showMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), text,
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("TallyforgeMessage"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.setAccessibleDescription(text);
    box.exec();
}

}  // namespace tf
