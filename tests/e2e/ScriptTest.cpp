// Runs one script test of the whole program:
//   vl_scripttest PROGRAM SCRIPT WORK CONFIG
// makes the working folder WORK and the configuration folder CONFIG afresh, makes in them the
// files and folders the script's set-up lines name, runs PROGRAM --headless SCRIPT NAMES... in WORK with
// XDG_CONFIG_HOME set to CONFIG, and checks that the run ends with the status the script
// expects (its set-up lines are read by the script language, HeadlessScript.h).
//   vl_scripttest compare PICTURE.png GOLDEN.png
// compares a picture the program wrote (a real window's, say) with a golden image as a script's
// compare line does; what a failure leaves goes beside the picture.
// Exits 0 when the run or the picture is as expected, 1 otherwise.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "Golden.h"
#include "headless/HeadlessScript.h"

namespace fs = std::filesystem;

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

// Runs the program in the folder; its exit status, or -1 when it did not exit.
int RunIn(const fs::path& folder, const std::vector<std::string>& arguments) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (chdir(folder.c_str()) == 0) execv(argv[0], argv.data());
    std::perror(argv[0]);
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Compare(const std::string& picturePath, const std::string& golden) {
  vlui::Picture picture;
  std::string error;
  if (!vlui::ReadPngPicture(picturePath, &picture, &error)) return Fail(error);
  const vlui::GoldenOutcome outcome =
      vlui::CompareWithGolden(picture, golden, fs::absolute(picturePath).parent_path().string());
  return outcome.matched ? 0 : Fail(outcome.message);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "compare") return Compare(argv[2], argv[3]);
  if (argc != 5)
    return Fail("usage: vl_scripttest PROGRAM SCRIPT WORK CONFIG, or vl_scripttest compare PICTURE GOLDEN");
  const std::string program = fs::absolute(argv[1]).string();
  const std::string script = fs::absolute(argv[2]).string();
  const fs::path work = fs::absolute(argv[3]), config = fs::absolute(argv[4]);

  vlheadless::ScriptSetup setup;
  std::string error;
  if (!vlheadless::LoadScriptSetup(script, &setup, &error)) return Fail(error);

  std::error_code failed;
  for (const fs::path& folder : {work, config}) {
    fs::remove_all(folder, failed);
    if (!fs::create_directories(folder, failed)) return Fail(folder.string() + ": cannot be made");
  }
  for (const std::string& name : setup.folders) fs::create_directories(work / name, failed);
  for (const std::string& name : setup.make)
    if (!std::ofstream(work / name)) return Fail((work / name).string() + ": cannot be made");
  for (const std::string& name : setup.copies) {
    fs::copy_file(fs::path(script).parent_path() / name, work / name, fs::copy_options::overwrite_existing, failed);
    if (failed) return Fail((work / name).string() + ": cannot be copied");
  }
  for (const std::string& name : setup.config) {
    fs::create_directories((config / name).parent_path(), failed);
    if (!std::ofstream(config / name)) return Fail((config / name).string() + ": cannot be made");
  }
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);

  std::vector<std::string> command{program, "--headless", script};
  command.insert(command.end(), setup.arguments.begin(), setup.arguments.end());
  const int status = RunIn(work, command);
  if (status != setup.exitStatus) {
    std::string line;
    for (const std::string& word : command) line += (line.empty() ? "" : " ") + word;
    return Fail(line + " exited with " + std::to_string(status) + ", expected " + std::to_string(setup.exitStatus));
  }
  return 0;
}
