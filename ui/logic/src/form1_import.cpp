// TForm1: Import diskimage. Another tool's image becomes a new, unsaved
// document, as a floppy read by the SAM disk menu does; the open image is
// replaced only once the import has succeeded.
#include <vector>

#include "vellonix/core/text.hpp"
#include "vellonix/formats/disk_import_file.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui {

namespace {

constexpr int kDamagedImportBoxWidth = 267;
// A disk with every sector missing lists 1600: the first ones tell enough.
constexpr std::size_t kProblemsListed = 16;

OpenFileRequest ImportDialog(const std::string& fileName) {
  return {"Import diskimage",
          "Disk images (*.dsk;*.img;*.mgt;*.sad;*.gz)|*.dsk;*.img;*.mgt;*.sad;*.gz|All files (*.*)|*.*", "", fileName,
          /*MultiSelect=*/false, /*MustExist=*/true};
}

// The sectors an import lacked and what it left out, one a line, after
// the count of them.
std::string DamageDetail(const std::string& name, const formats::ImportedFile& imported) {
  std::vector<std::string> lines;
  const auto& problems = imported.Result.Problems;
  if (!problems.empty()) lines.push_back(name + ": " + formats::DescribeImportDamage(imported));
  for (std::size_t i = 0; i < problems.size() && i < kProblemsListed; ++i) {
    lines.push_back(formats::DescribeProblem(problems[i]));
  }
  if (problems.size() > kProblemsListed) lines.push_back("and " + std::to_string(problems.size() - kProblemsListed) + " more");
  lines.insert(lines.end(), imported.Result.Notes.begin(), imported.Result.Notes.end());
  std::string detail;
  for (const std::string& line : lines) detail += (detail.empty() ? "" : "\n") + line;
  return detail;
}

}  // namespace

std::string DocumentPathForImport(const std::string& inputPath) {
  std::string path = inputPath;
  if (core::HasExtension(path, ".GZ")) path.resize(path.size() - 3);
  path.resize(path.size() - core::FileExtension(path).size());
  if (core::FileNamePart(path).empty()) path += "Untitled";
  return path + ".mgt";
}

void TForm1::Importdiskimage1Click() {
  if (!SaveChanges()) return;
  const OpenFileResult chosen = ui_.ShowOpenDialog(ImportDialog(importName_));
  if (!chosen.Confirmed || chosen.Paths.empty()) return;
  importName_ = chosen.Paths.front();
  const std::string name(core::FileNamePart(importName_));

  // A refused import leaves the open image as it was.
  const formats::ImportedFile imported = formats::ImportDiskImageFile(importName_, *diskImageBuffer_);
  if (!imported.Result.Imported) {
    ReportInvalidImage(name + ": " + imported.Error);
    return;
  }
  ImageLoaded = true;
  DocumentPath = DocumentPathForImport(importName_);
  InitDiskImage();
  ImageModified = true;
  ImageUntitled = true;
  const formats::ImportResult& result = imported.Result;
  if (!result.Problems.empty() || !result.Notes.empty()) {
    const std::string text = result.Problems.empty() ? "Imported with parts of the image left out"
                                                     : "Imported with missing or damaged sectors";
    ReportError(text, kDamagedImportBoxWidth, DamageDetail(name, imported));
  }
}

}  // namespace vellonix::ui
