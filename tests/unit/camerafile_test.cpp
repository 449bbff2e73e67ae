// The camera file: its parser's errors and warnings, the writer that puts a pose at a step, and
// a parser that nothing can crash or hang.
#include "demo/camerafile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <vector>

#include "demo/moments.h"
#include "scratch.h"

namespace {

typedef omni::Vector3<float> V;

// The keyframed camera's pose after steps 0..step, stepped as the show steps it.
CameraPose pose_at(const CameraFile& file, int step) {
  effect::Camera camera;
  add_camera_file_keys(file, camera);
  for (int n = 0; n <= step; ++n) camera.UpdateLogic(step_time(n), 0, false);
  return CameraPose{camera.location, camera.rotation};
}

// A pose's six figures, to compare exactly.
std::vector<float> figures(const CameraPose& p) {
  return {p.place.x, p.place.y, p.place.z, p.turn.x, p.turn.y, p.turn.z};
}

// The first step of part `part`'s beat `beat`, plus `extra` steps.
int step_in(int part, int beat, int extra) {
  return step_at(part_start_time(part) + beat * show_seconds_per_beat) + 1 + extra;
}

}  // namespace

// Keys parse with their comments, in beats plus seconds that keep their floats; each line that
// does not parse gives one error with the file, the line and what was expected; a missing file
// gives one line too.
TEST(CameraFile, ParsesKeysAndNamesEachBadLine) {
  CameraFile file;
  parse_camera_text("cam.txt",
                    "# a comment\n"
                    "\n"
                    "title place linear 3b+0.1s 21b-0.1s 150 -87 2.5e1  # a trailing comment\r\n"
                    "credits\tturn cut -2b 0b 0 -0 1\n"
                    "title plase cut 0b 0b 0 0 0\n"
                    "lines turn linear 0.5 4b 0 0 0\n"
                    "lines turn linear 0b 4b 0 nan 0\n"
                    "lines turn linear 0b+-1s 4b 0 0 0\n"
                    "lines turn linear 0b 4b 0 0 1e39\n"
                    "lines turn linear 0b 4b 0 0\n"
                    "lines turn linear 0b 4b 0 0 0 9\n"
                    "nowhere\n"
                    "lines turn linear 0b -1b 0 0 0\n"
                    "lines place cut 0b 0b-0.5s 0 0 0\n",
                    file);
  ASSERT_EQ(file.keys.size(), 2u);
  const CameraFileKey& first = file.keys[0];
  EXPECT_EQ(first.line, 3);
  EXPECT_EQ(first.part, 0);
  EXPECT_EQ(first.key.track, script::PLACE);
  EXPECT_EQ(first.key.transition, effect::Camera::LINEAR);
  EXPECT_EQ(first.key.start.beats, 3);
  EXPECT_EQ(first.key.start.seconds, 0.1f);
  EXPECT_EQ(first.key.length.beats, 21);
  EXPECT_EQ(first.key.length.seconds, -0.1f);
  EXPECT_EQ(first.key.target.z, 25.0f);
  EXPECT_EQ(file.keys[1].part, show_part_count - 1);
  EXPECT_EQ(file.keys[1].key.start.beats, -2);

  const std::vector<std::string> expected = {
      "cam.txt:5: expected a track (place or turn), found 'plase'",
      "cam.txt:6: expected a start in beats and seconds (12b, 3b+0.1s, 40b-0.1s), found '0.5'",
      "cam.txt:7: expected the target's y (a number), found 'nan'",
      "cam.txt:8: expected a start in beats and seconds (12b, 3b+0.1s, 40b-0.1s), found "
      "'0b+-1s'",
      "cam.txt:9: expected the target's z (a number), found '1e39'",
      "cam.txt:10: expected the target's z (a number), found the end of the line",
      "cam.txt:11: expected the end of the line (or a # comment) after the target, found '9'",
      "cam.txt:12: expected a part (title, lines, invaders, plasma, images, scroller, credits), "
      "found 'nowhere'",
      "cam.txt:13: expected a length of zero or more (4b, 0b+0.1s, 12b-0.1s), found '-1b'",
      "cam.txt:14: expected a length of zero or more (4b, 0b+0.1s, 12b-0.1s), found '0b-0.5s'"};
  EXPECT_EQ(file.errors, expected);

  EXPECT_FALSE(load_camera_file("no/such/camera.txt", file));
  ASSERT_EQ(file.errors.size(), 1u);
  EXPECT_EQ(file.errors[0].rfind("no/such/camera.txt: cannot be read: ", 0), 0u) << file.errors[0];
  EXPECT_TRUE(file.keys.empty());
}

// A key that starts before the move before it on its track has ended, and one that starts
// outside its part, each get one warning naming the keys; tracks and parts are apart.
TEST(CameraFile, WarnsOfKeysThatWaitAndKeysOutsideTheirPart) {
  CameraFile file;
  parse_camera_text("cam.txt",
                    "title place linear 3b 21b 1 1 1\n"
                    "title turn cut 12b 0b 0 0 0\n"    // other track: no wait
                    "title place cut 12b 0b 2 2 2\n"   // waits for line 1
                    "title place cut 24b 0b 2 2 2\n"   // after line 1's end: fine
                    "title place cut 51b 0b 2 2 2\n"   // after the title's 50 beats
                    "lines place cut -1b 0b 0 0 0\n",  // before the lines' first beat
                    file);
  ASSERT_TRUE(file.errors.empty());
  const std::vector<std::string>& warnings = file.warnings;
  ASSERT_EQ(warnings.size(), 4u);
  EXPECT_EQ(warnings[0].rfind("cam.txt:3: warning: this place key starts at ", 0), 0u);
  EXPECT_NE(warnings[0].find("before the key at cam.txt:1 ends"), std::string::npos);
  EXPECT_EQ(warnings[1].rfind("cam.txt:6: warning: this place key starts at ", 0), 0u);
  EXPECT_NE(warnings[1].find("before the key at cam.txt:5 ends"), std::string::npos);
  EXPECT_EQ(warnings[2].rfind("cam.txt:5: warning: this key starts at ", 0), 0u);
  EXPECT_NE(warnings[2].find("outside its part title"), std::string::npos);
  EXPECT_EQ(warnings[3].rfind("cam.txt:6: warning: this key starts at ", 0), 0u);
}

// The show's own file loads with no error, every track of every part cut in at its start.
TEST(CameraFile, ShowFileLoadsAndCutsEveryPartIn) {
  CameraFile file;
  ASSERT_TRUE(load_camera_file(camera_file_path, file)) << file.errors[0];
  for (int part = 0; part < show_part_count; ++part) {
    for (script::Track track : {script::PLACE, script::TURN}) {
      SCOPED_TRACE(std::string(show_parts[part].name) +
                   (track == script::PLACE ? " place" : " turn"));
      const CameraFileKey* first = nullptr;
      for (const CameraFileKey& key : file.keys) {
        if (key.part == part && key.key.track == track && first == nullptr) first = &key;
      }
      ASSERT_NE(first, nullptr);
      EXPECT_EQ(first->key.transition, effect::Camera::CUT);
      EXPECT_EQ(camera_key_start(*first), part_start_time(part));
    }
  }
}

// On a copy of the show's file: a shot written at a step in the middle of a move splits it, one
// where the track stands still places a cut, one where a key lands retargets it; each time the
// camera at that step shows the pose exactly, the moves go on to their old targets, and every
// line but the changed and new ones stays as it was.
TEST(CameraFile, WriteShotSplitsMovesAndCutsStillTracksExactly) {
  std::string text = read_text(camera_file_path);
  const std::string glide = "images    place  linear  0b        40b       65 -60 -200";
  ASSERT_NE(text.find(glide), std::string::npos);
  text.insert(text.find(glide) + glide.size(), "  # the glide");
  TempFile copy(text);
  CameraFile file;
  ASSERT_TRUE(load_camera_file(copy.path, file));

  const int images = 4, plasma = 3, title = 0;
  // Where the images' first moves have ended: the rush after them starts from their targets.
  const int images_rush = step_in(images, 41, 0);
  const CameraPose rush = pose_at(file, images_rush);
  const struct {
    int part, step;
    const char* place;
    const char* turn;
  } shots[] = {{images, step_in(images, 20, 37), "place split at ", "turn split at "},
               {plasma, step_in(plasma, 30, 5), "place cut at ", "turn cut at "},
               {title, step_in(title, 3, 0), "place target at ", "turn split at "},
               {title, step_in(title, 1, 0), "place cut at ", "turn cut at "}};
  for (const auto& shot : shots) {
    SCOPED_TRACE(shot.step);
    const CameraPose pose{V(1.25f, -2.0f, 3.0e-7f), V(10.1f, -20.2f, 33.3f)};
    const std::vector<std::string> old_lines = file.lines;
    std::string message;
    ASSERT_TRUE(write_camera_shot(file, shot.part, shot.step, pose, message)) << message;
    EXPECT_NE(message.find(shot.place), std::string::npos) << message;
    EXPECT_NE(message.find(shot.turn), std::string::npos) << message;
    CameraFile reread;
    ASSERT_TRUE(load_camera_file(copy.path, reread));
    EXPECT_EQ(reread.lines, file.lines);
    EXPECT_EQ(figures(pose_at(reread, shot.step)), figures(pose));
    EXPECT_EQ(figures(pose_at(reread, images_rush)), figures(rush));
    // Every old line but the changed ones stays; at most two are new.
    std::multiset<std::string> old(old_lines.begin(), old_lines.end());
    size_t kept = 0;
    for (const std::string& line : reread.lines) {
      const auto found = old.find(line);
      if (found != old.end()) old.erase(found), ++kept;
    }
    EXPECT_GE(kept + 2, old_lines.size());
    EXPECT_LE(reread.lines.size() - kept, 4u);
  }
  EXPECT_EQ(file.lines.front(), text.substr(0, text.find('\n')));  // the grammar stays on top
  // The split glide keeps its comment: "images place linear 0b 20b+...s 1.25 -2 3e-07  # ...".
  const auto split = std::find_if(file.lines.begin(), file.lines.end(), [](const std::string& l) {
    return l.find("# the glide") != std::string::npos;
  });
  ASSERT_NE(split, file.lines.end());
  EXPECT_NE(split->find(" 0b        20b+"), std::string::npos) << *split;
  EXPECT_NE(split->find(" 1.25 -2 3e-07  # the glide"), std::string::npos) << *split;

  // A file that cannot be written is left as it was, in memory and on disk.
  CameraFile lost = file;
  lost.path = "no/such/dir/camera.txt";
  std::string message;
  EXPECT_FALSE(write_camera_shot(lost, images, 20000, CameraPose{}, message));
  EXPECT_EQ(message,
            "no shot written: no/such/dir/camera.txt cannot be read (No such file or "
            "directory)");
  EXPECT_EQ(lost.lines, file.lines);
  const std::string before = read_text(copy.path);
  ::chmod(copy.path.c_str(), 0444);
  EXPECT_FALSE(write_camera_shot(file, images, 20000, CameraPose{}, message));
  EXPECT_NE(message.find("cannot be written"), std::string::npos) << message;
  EXPECT_EQ(read_text(copy.path), before);
}

// Random bytes, huge and odd numbers, a very long line and a million lines: the parser returns
// (with at most a hundred error or warning lines), and the camera and the writer run over
// whatever parsed.
TEST(CameraFile, NothingInTheFileCrashesOrHangs) {
  std::mt19937 random(20);
  std::string text;
  for (int line = 0; line < 2000; ++line) {
    const int length = static_cast<int>(random() % 80);
    for (int i = 0; i < length; ++i) text += static_cast<char>(random() % 256);
    text += '\n';
  }
  const char* odd[] = {"title place linear 1000000b+3e38s -1000000b-3e38s 3e38 -3e38 1e-45\n",
                       "title turn linear 0b 0b inf 0 0\n", "title turn linear 0b 0b 0 0 -nan\n",
                       "title place cut 99999999999999999999b 0b 0 0 0\n",
                       "title place linear -3b -5b 1 2 3\n"};
  for (const char* line : odd) text += line;
  text += std::string(1 << 20, 'x') + "\n" + std::string(1 << 20, ' ') + "title\n";
  TempFile file_on_disk(text);
  CameraFile file;
  EXPECT_FALSE(load_camera_file(file_on_disk.path, file));
  EXPECT_EQ(file.errors.size(), 101u);
  EXPECT_LE(file.keys.size(), 10u);
  std::string message;
  write_camera_shot(file, 0, 300, CameraPose{}, message);
  EXPECT_FALSE(write_camera_shot(file, 0, -1, CameraPose{}, message));
  EXPECT_FALSE(write_camera_shot(file, 99, 1, CameraPose{}, message));

  std::string many;
  for (int i = 0; i < 1000000; ++i) many += i % 2 ? "title turn linear 1b 1b 0 0 0\n" : "#\n";
  parse_camera_text("many.txt", many, file);
  EXPECT_EQ(file.keys.size(), 500000u);
  EXPECT_EQ(file.warnings.size(), 101u);  // each key waits for the one before: counted
  effect::Camera camera;
  add_camera_file_keys(file, camera);
  for (int n = 0; n < 4 * show_fps; ++n) camera.UpdateLogic(step_time(n), 0, false);
}

namespace {

// The show's camera file copied to a scratch file with CRLF line endings throughout.
std::string crlf_camera_text() {
  std::string text;
  for (char c : read_text(camera_file_path)) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

}  // namespace

// A CRLF file keeps CRLF on every line a shot writes, new lines and rewritten ones; a shot
// through a symbolic link writes the file it names and leaves the link a link.
TEST(CameraFile, WriteShotKeepsLineEndingsAndLinks) {
  namespace fs = std::filesystem;
  const int images = 4, plasma = 3;
  TempFile copy(crlf_camera_text());
  const std::string link = copy.path + ".link";
  fs::remove(link);
  fs::create_symlink(fs::path(copy.path).filename(), link);
  CameraFile file;
  ASSERT_TRUE(load_camera_file(link, file)) << file.errors[0];
  const CameraPose pose{V(1.25f, -2.0f, 3.0f), V(10.0f, -20.0f, 0.0f)};
  for (int step : {step_in(images, 20, 37), step_in(plasma, 30, 5)}) {
    std::string message;
    ASSERT_TRUE(write_camera_shot(file, step < step_in(images, 0, 0) ? plasma : images, step, pose,
                                  message))
        << message;
    EXPECT_TRUE(fs::is_symlink(link));
    const std::string text = read_text(copy.path);
    EXPECT_EQ(text, read_text(link));
    size_t lines = 0;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
      ++lines;
      EXPECT_TRUE(at > 0 && text[at - 1] == '\r') << "line " << lines << " has a bare LF";
    }
    EXPECT_EQ(lines, file.lines.size());
    CameraFile reread;
    ASSERT_TRUE(load_camera_file(link, reread));
    EXPECT_EQ(figures(pose_at(reread, step)), figures(pose));
  }
  fs::remove(link);
}

// The file changed on disk after it was loaded (an edit not yet reloaded, or one that did not
// parse): a shot is placed on the file as it now is, never on the copy in memory; when what is
// on disk does not parse, nothing is written and one line says so.
TEST(CameraFile, WriteShotRereadsAFileChangedOnDisk) {
  const int images = 4;
  const std::string original = read_text(camera_file_path);
  TempFile copy(original);
  CameraFile file;
  ASSERT_TRUE(load_camera_file(copy.path, file)) << file.errors[0];
  const int step = step_in(images, 20, 37);
  const CameraPose pose{V(1.0f, 2.0f, 3.0f), V(4.0f, 5.0f, 0.0f)};

  // Three comment lines and a typo, as a maker saves them between two polls.
  const std::string broken =
      "# one\n# two\n# three\n" + original + "images place linaer 0b 1b 0 0 0\n";
  std::ofstream(copy.path, std::ios::binary) << broken;
  std::string message;
  EXPECT_FALSE(write_camera_shot(file, images, step, pose, message));
  EXPECT_EQ(message.find('\n'), std::string::npos);
  EXPECT_NE(message.find("does not parse"), std::string::npos) << message;
  EXPECT_NE(message.find("linaer"), std::string::npos) << message;
  EXPECT_EQ(read_text(copy.path), broken);

  // The typo mended: the shot lands in the file as the maker left it.
  const std::string mended = "# one\n# two\n# three\n" + original;
  std::ofstream(copy.path, std::ios::binary) << mended;
  ASSERT_TRUE(write_camera_shot(file, images, step, pose, message)) << message;
  const std::string written = read_text(copy.path);
  EXPECT_EQ(written.rfind("# one\n# two\n# three\n", 0), 0u);
  EXPECT_EQ(file.lines.front(), "# one");
  CameraFile reread;
  ASSERT_TRUE(load_camera_file(copy.path, reread));
  EXPECT_EQ(reread.lines, file.lines);
  EXPECT_EQ(figures(pose_at(reread, step)), figures(pose));

  // A file gone from disk is not written anew.
  std::remove(copy.path.c_str());
  EXPECT_FALSE(write_camera_shot(file, images, step, pose, message));
  EXPECT_NE(message.find("cannot be"), std::string::npos) << message;
}
