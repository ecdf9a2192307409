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
  UseDialogBorder(*this);
  auto* fitted = new FittedLayout(*this, layout::kClient);

  auto* panel = fitted->Place(new QFrame(this), layout::kPanel);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  auto* picture = fitted->Place(new QLabel(panel), layout::kPicture);
  picture->setPixmap(SvgPixmap(QStringLiteral(":/icons/about/about.svg"), layout::kPicture.Width));

  ProductName = fitted->Place(new QLabel(QString::fromUtf8(kApplicationTitle), panel), layout::kProductName);
  QFont bold = ProductName->font();
  bold.setBold(true);
  ProductName->setFont(bold);
  Version = fitted->Place(new QLabel(FromUtf8(AboutVersionText()), panel), layout::kVersion);
  Comments = fitted->Place(new QLabel(QString::fromUtf8(layout::kCommentsText), panel), layout::kComments);
  Comments->setWordWrap(true);

  OKButton = fitted->Place(new QPushButton(QString::fromUtf8(kOkCaption), this), layout::kOKButton);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  fitted->Fit();
}

void ShowAboutBox(QWidget* parent) {
  TAboutBox box(parent);
  CentreOnParent(box);
  box.exec();
}

}  // namespace vellonix::ui::qt
