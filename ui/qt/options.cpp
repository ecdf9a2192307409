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
  UseDialogBorder(*this, layout::kClient);
  BuildAssociations();
  BuildAccessibility();
  const OkCancelButtons buttons = AddOkCancelButtons(*this, layout::kOKBtn, layout::kCancelBtn);
  OKBtn = buttons.Ok;
  CancelBtn = buttons.Cancel;
  WidenForCaptions();
  model_.OnShowSelectedIcon = [this](std::uint16_t iconIndex) { ShowSelectedIcon(iconIndex); };
}

void TOKBottomDlg::BuildAssociations() {
  GroupBox1 = new QGroupBox(QString::fromUtf8(layout::kGroupBox1Caption), this);
  GroupBox1->setGeometry(ToQt(layout::kGroupBox1));
  CheckBox1 = new QCheckBox(QString::fromUtf8(layout::kCheckBox1Caption), GroupBox1);
  CheckBox1->setGeometry(ToQt(layout::kCheckBox1));
  CheckBox2 = new QCheckBox(QString::fromUtf8(layout::kCheckBox2Caption), GroupBox1);
  CheckBox2->setGeometry(ToQt(layout::kCheckBox2));

  Image1 = new QLabel(GroupBox1);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(ToQt(layout::kImage1));

  // SpinButton1: an up/down pair right of the icon; held down, it repeats.
  SpinButton1Up = new QToolButton(GroupBox1);
  SpinButton1Down = new QToolButton(GroupBox1);
  SpinButton1Up->setArrowType(Qt::UpArrow);
  SpinButton1Down->setArrowType(Qt::DownArrow);
  SpinButton1Up->setGeometry(ToQt(layout::kSpinUp));
  SpinButton1Down->setGeometry(ToQt(layout::kSpinDown));
  for (QToolButton* button : {SpinButton1Up, SpinButton1Down}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
  }
  connect(SpinButton1Up, &QToolButton::clicked, this, [this] { model_.SpinButton1UpClick(); });
  connect(SpinButton1Down, &QToolButton::clicked, this, [this] { model_.SpinButton1DownClick(); });
}

void TOKBottomDlg::BuildAccessibility() {
  GroupBox2 = new QGroupBox(QString::fromUtf8(layout::kGroupBox2Caption), this);
  GroupBox2->setGeometry(ToQt(layout::kGroupBox2));
  for (const integration::Shortcut shortcut : integration::kShortcuts) {
    const std::size_t box = integration::Index(shortcut);
    auto* check = new QCheckBox(QString::fromUtf8(integration::ShortcutCaption(shortcut)), GroupBox2);
    check->setObjectName(QStringLiteral("CheckBox%1").arg(box + 3));
    check->setGeometry(ToQt(layout::ShortcutBox(shortcut)));
    ShortcutBoxes[box] = check;
  }
}

void TOKBottomDlg::WidenForCaptions() {
  // As the New dialog does: where the host's font needs more room for a
  // caption than the layout was drawn with, the dialog grows by that much.
  int need = 0;
  for (const QCheckBox* check : ShortcutBoxes) need = std::max(need, check->sizeHint().width());
  const int extra = std::max(0, need - ShortcutBoxes[0]->width());
  if (extra == 0) return;
  for (QCheckBox* check : ShortcutBoxes) check->resize(check->width() + extra, check->height());
  GroupBox2->resize(GroupBox2->width() + extra, GroupBox2->height());
  for (QPushButton* button : {OKBtn, CancelBtn}) button->move(button->x() + extra, button->y());
  setFixedSize(width() + extra, height());
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
