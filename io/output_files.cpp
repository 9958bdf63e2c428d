#include "io/output_files.h"

#include <memory>

#include "c64/field_pictures.h"
#include "io/png_writer.h"
#include "plan/conversion_plan.h"
#include "plan/run_pictures.h"

namespace pavona {
namespace {

OutputBytes PngOutput(const Picture& picture)
{
  PngBytesResult png = EncodePng(picture);
  return {std::move(png.bytes), std::move(png.error)};
}

}  // namespace

OutputFile OutputFileOf(C64File file)
{
  switch (file) {
    case C64File::Raw:
      return OutputFile::Raw;
    case C64File::Program:
      return OutputFile::Program;
    case C64File::Scene:
      break;
  }
  return OutputFile::Scene;
}

OutputBytes OutputFileBytes(OutputFile file, const Workspace& workspace)
{
  if (file == OutputFile::FramePng) {
    return PngOutput(workspace.source);
  }
  if (!workspace.converted) {
    return {{}, "nothing has been converted yet"};
  }
  const Settings& converted = *workspace.converted;
  const OutputKind kind = PlanConversion(converted).output;
  switch (file) {
    case OutputFile::Raw:
      return {C64FileBytes(C64File::Raw, workspace.c64, kind), {}};
    case OutputFile::Program:
      return {C64FileBytes(C64File::Program, workspace.c64, kind), {}};
    case OutputFile::Scene:
      return {C64FileBytes(C64File::Scene, workspace.c64, kind), {}};
    case OutputFile::ResultPng:
      return PngOutput(workspace.result);
    case OutputFile::ResultPngAsShown: {
      const auto shown = std::make_unique_for_overwrite<Picture>();
      AsTheC64ShowsIt(workspace.result, PlanConversion(converted).shown, *shown);
      return PngOutput(*shown);
    }
    case OutputFile::DitheredPng:
      return PngOutput(workspace.dithered);
    case OutputFile::Field1Png:
    case OutputFile::Field2Png:
    case OutputFile::FramePng:
      break;
  }
  const auto fields = std::make_unique<FieldPictures>();
  DecodeFields(workspace.c64, kind, PaletteOf(converted), *fields);
  return PngOutput(file == OutputFile::Field1Png ? fields->field1 : fields->field2);
}

}  // namespace pavona
