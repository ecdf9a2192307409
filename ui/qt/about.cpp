#include "about.hpp"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "dialog_support.hpp"
#include "image_list.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::qt {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About"));
  UseDialogBorder(*this, {247, 189});

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setGeometry(8, 8, 231, 137);

  auto* picture = new QLabel(panel);
  picture->setGeometry(8, 8, 64, 64);
  picture->setPixmap(SvgPixmap(QStringLiteral(":/icons/about/about.svg"), 64));

  ProductName = new QLabel(QString::fromUtf8(kApplicationTitle), panel);
  ProductName->setGeometry(80, 12, 143, 20);
  QFont bold = ProductName->font();
  bold.setBold(true);
  ProductName->setFont(bold);
  Version = new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(VELLONIX_VERSION)), panel);
  Version->setGeometry(80, 36, 143, 16);
  Comments = new QLabel(QStringLiteral("Opens, lists and changes SAM Coupé floppy disk images in MGT and SAD form."),
                        panel);
  Comments->setGeometry(8, 80, 215, 48);
  Comments->setWordWrap(true);

  OKButton = new QPushButton(QStringLiteral("&OK"), this);
  OKButton->setGeometry(86, 156, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void ShowAboutBox(QWidget* parent) {
  TAboutBox box(parent);
  CentreOnParent(box);
  box.exec();
}

}  // namespace vellonix::ui::qt
