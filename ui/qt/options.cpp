#include "options.hpp"

#include <algorithm>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "dialog_support.hpp"
#include "image_list.hpp"
#include "vellonix/ui/dialog_layouts.hpp"

namespace vellonix::ui::qt {

namespace {

namespace layout = options_layout;

// The program's icons in the order its file carries them.
const char* const kProgramIcons[integration::kIconCount] = {
    ":/icons/app/program.svg", ":/icons/app/diskimage-1.svg", ":/icons/app/diskimage-2.svg"};

}  // namespace

TOKBottomDlg::TOKBottomDlg(OptionsDialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("OKBottomDlg"));
  setWindowTitle(QString::fromUtf8(layout::kCaption));
  UseDialogBorder(*this);
  fitted_ = new FittedLayout(*this, layout::kClient);
  BuildAssociations();
  BuildAccessibility();
  const OkCancelButtons buttons = AddOkCancelButtons(*this, *fitted_, layout::kOKBtn, layout::kCancelBtn);
  OKBtn = buttons.Ok;
  CancelBtn = buttons.Cancel;
  fitted_->Fit();
  model_.OnShowSelectedIcon = [this](std::uint16_t iconIndex) { ShowSelectedIcon(iconIndex); };
}

void TOKBottomDlg::BuildAssociations() {
  GroupBox1 = fitted_->Place(new QGroupBox(QString::fromUtf8(layout::kGroupBox1Caption), this), layout::kGroupBox1);
  CheckBox1 = fitted_->Place(new QCheckBox(QString::fromUtf8(layout::kCheckBox1Caption), GroupBox1), layout::kCheckBox1);
  CheckBox2 = fitted_->Place(new QCheckBox(QString::fromUtf8(layout::kCheckBox2Caption), GroupBox1), layout::kCheckBox2);

  Image1 = new QLabel(GroupBox1);
  Image1->setObjectName(QStringLiteral("Image1"));
  fitted_->Place(Image1, layout::kImage1);

  // SpinButton1: an up/down pair right of the icon; held down, it repeats.
  SpinButton1Up = new QToolButton(GroupBox1);
  SpinButton1Down = new QToolButton(GroupBox1);
  SpinButton1Up->setArrowType(Qt::UpArrow);
  SpinButton1Down->setArrowType(Qt::DownArrow);
  fitted_->Place(SpinButton1Up, layout::kSpinUp);
  fitted_->Place(SpinButton1Down, layout::kSpinDown);
  for (QToolButton* button : {SpinButton1Up, SpinButton1Down}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
  }
  connect(SpinButton1Up, &QToolButton::clicked, this, [this] { model_.SpinButton1UpClick(); });
  connect(SpinButton1Down, &QToolButton::clicked, this, [this] { model_.SpinButton1DownClick(); });
}

void TOKBottomDlg::BuildAccessibility() {
  GroupBox2 = fitted_->Place(new QGroupBox(QString::fromUtf8(layout::kGroupBox2Caption), this), layout::kGroupBox2);
  for (const integration::Shortcut shortcut : integration::kShortcuts) {
    const std::size_t box = integration::Index(shortcut);
    auto* check = fitted_->Place(new QCheckBox(QString::fromUtf8(integration::ShortcutCaption(shortcut)), GroupBox2),
                                 layout::ShortcutBox(shortcut));
    check->setObjectName(QStringLiteral("CheckBox%1").arg(box + 3));
    ShortcutBoxes[box] = check;
  }
}

void TOKBottomDlg::ShowSelectedIcon(std::uint16_t iconIndex) {
  const std::size_t icon = std::min<std::size_t>(iconIndex, integration::kIconCount - 1);
  Image1->setPixmap(SvgPixmap(QString::fromLatin1(kProgramIcons[icon]), layout::kIconSize));
  Image1->setProperty("iconIndex", static_cast<int>(icon));
}

void TOKBottomDlg::ShowModel() {
  const integration::IntegrationState& state = model_.State;
  CheckBox1->setChecked(state.Mgt);
  CheckBox2->setChecked(state.Sad);
  for (std::size_t box = 0; box < ShortcutBoxes.size(); ++box) {
    ShortcutBoxes[box]->setEnabled(state.Available[box]);
    ShortcutBoxes[box]->setChecked(state.Shortcuts[box]);
  }
}

void TOKBottomDlg::ReadBoxes() {
  integration::IntegrationState& state = model_.State;
  state.Mgt = CheckBox1->isChecked();
  state.Sad = CheckBox2->isChecked();
  for (std::size_t box = 0; box < ShortcutBoxes.size(); ++box) {
    if (state.Available[box]) state.Shortcuts[box] = ShortcutBoxes[box]->isChecked();
  }
}

DialogResult TOKBottomDlg::Execute() {
  ShowModel();
  CentreOnParent(*this);
  OKBtn->setFocus();
  const bool ok = exec() == QDialog::Accepted;
  if (ok) ReadBoxes();
  return ok ? DialogResult::Ok : DialogResult::Cancel;
}

}  // namespace vellonix::ui::qt
