#include "about.hpp"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "dialog_support.hpp"
#include "image_list.hpp"
#include "vellonix/ui/dialog_layouts.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::qt {

namespace layout = about_layout;

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(layout::kCaption));
  UseDialogBorder(*this, layout::kClient);

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setGeometry(ToQt(layout::kPanel));

  auto* picture = new QLabel(panel);
  picture->setGeometry(ToQt(layout::kPicture));
  picture->setPixmap(SvgPixmap(QStringLiteral(":/icons/about/about.svg"), layout::kPicture.Width));

  ProductName = new QLabel(QString::fromUtf8(kApplicationTitle), panel);
  ProductName->setGeometry(ToQt(layout::kProductName));
  QFont bold = ProductName->font();
  bold.setBold(true);
  ProductName->setFont(bold);
  Version = new QLabel(FromUtf8(AboutVersionText()), panel);
  Version->setGeometry(ToQt(layout::kVersion));
  Comments = new QLabel(QString::fromUtf8(layout::kCommentsText), panel);
  Comments->setGeometry(ToQt(layout::kComments));
  Comments->setWordWrap(true);

  OKButton = new QPushButton(QString::fromUtf8(kOkCaption), this);
  OKButton->setGeometry(ToQt(layout::kOKButton));
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void ShowAboutBox(QWidget* parent) {
  TAboutBox box(parent);
  CentreOnParent(box);
  box.exec();
}

}  // namespace vellonix::ui::qt
