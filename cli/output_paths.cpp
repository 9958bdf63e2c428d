#include "cli/output_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "c64/file_writer.h"

namespace pavona::cli {
namespace {

namespace fs = std::filesystem;

// One file of the run and where it comes from, for the messages.
struct RunFile {
  std::string path;
  std::string origin;  // "--raw", "input", "output of a/pic.bmp"
};

// What identifies a file: its device and inode where it exists, else its
// absolute path with ".", ".." and symbolic links of its folders resolved.
struct FileIdentity {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  fs::path normalised;
  bool operator==(const FileIdentity& other) const
  {
    if (exists != other.exists) {
      return false;
    }
    return exists ? device == other.device && inode == other.inode : normalised == other.normalised;
  }
};

FileIdentity IdentityOf(const std::string& path)
{
  FileIdentity identity;
  struct stat status;
  if (stat(path.c_str(), &status) == 0) {
    identity.exists = true;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    return identity;
  }
  std::error_code error;
  identity.normalised = fs::weakly_canonical(fs::absolute(path, error), error);
  if (error) {
    identity.normalised = fs::absolute(path).lexically_normal();
  }
  return identity;
}

void AddOutputs(const OutputFiles& files, bool batch, const std::string& input,
                std::vector<RunFile>& outputs)
{
  const struct {
    const std::string& path;
    const char* option;
  } named[] = {{files.raw, "--raw"},
               {files.prg, "--prg"},
               {files.resultPng, "--result-png"},
               {files.ditheredPng, "--dithered-png"},
               {files.field1Png, "--field1-png"},
               {files.field2Png, "--field2-png"},
               {files.framePng, "--frame-png"}};
  for (const auto& [path, option] : named) {
    if (!path.empty()) {
      outputs.push_back({path, batch ? "--out-dir output of " + input : std::string(option)});
    }
  }
  for (const std::string& path : files.saves) {
    outputs.push_back({path, batch ? "--out-dir output of " + input : std::string("--save")});
  }
}

std::vector<RunFile> OutputsOfRun(const CliOptions& options)
{
  std::vector<RunFile> outputs;
  if (options.outDir.empty()) {
    AddOutputs(options.outputs, false, {}, outputs);
    return outputs;
  }
  if (options.testPicture) {
    AddOutputs(BatchOutputFiles(options.outDir, "test-picture", options.settings), true,
               "--test-picture", outputs);
  }
  for (const std::string& input : options.inputs) {
    AddOutputs(BatchOutputFiles(options.outDir, input, options.settings), true, input, outputs);
  }
  return outputs;
}

std::string Described(const RunFile& file)
{
  return file.path + " (" + file.origin + ")";
}

// The folder of --out-dir must be there and writable before the first
// conversion, or every input would be converted for nothing.
std::string CheckOutDir(const std::string& outDir)
{
  struct stat status;
  if (stat(outDir.c_str(), &status) != 0) {
    return "--out-dir " + outDir + ": " + std::strerror(errno) + "; make the folder first";
  }
  if (!S_ISDIR(status.st_mode)) {
    return "--out-dir " + outDir + " is not a folder";
  }
  if (access(outDir.c_str(), W_OK | X_OK) != 0) {
    return "--out-dir " + outDir + ": cannot write into it (" + std::strerror(errno) + ")";
  }
  return {};
}

}  // namespace

std::string CheckOutputPaths(const CliOptions& options)
{
  const std::vector<RunFile> outputs = OutputsOfRun(options);
  // The palette file is read like the pictures: no output may replace it.
  std::vector<RunFile> inputs;
  for (const std::string& input : options.inputs) {
    inputs.push_back({input, "input file " + input});
  }
  if (!options.paletteFile.empty()) {
    inputs.push_back({options.paletteFile, "palette file " + options.paletteFile});
  }
  std::vector<FileIdentity> inputIdentities;
  for (const RunFile& input : inputs) {
    inputIdentities.push_back(IdentityOf(input.path));
  }
  std::vector<FileIdentity> outputIdentities;
  for (const RunFile& output : outputs) {
    if (const std::string kind = NonRegularFileKind(output.path); !kind.empty()) {
      return "will not write " + Described(output) + ": it is " + kind + ", not a regular file";
    }
    const FileIdentity identity = IdentityOf(output.path);
    for (std::size_t i = 0; i < inputIdentities.size(); ++i) {
      if (identity == inputIdentities[i]) {
        return "will not write " + Described(output) + ": it is the " + inputs[i].origin;
      }
    }
    for (std::size_t i = 0; i < outputIdentities.size(); ++i) {
      if (identity == outputIdentities[i]) {
        return Described(outputs[i]) + " and " + Described(output) +
               " are the same file; give each output its own name (inputs with the same "
               "name need different --out-dir folders)";
      }
    }
    outputIdentities.push_back(identity);
  }
  return options.outDir.empty() ? std::string() : CheckOutDir(options.outDir);
}

}  // namespace pavona::cli
