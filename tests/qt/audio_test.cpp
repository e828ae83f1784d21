// Music and sound through Qt Multimedia into a PulseAudio null sink that the test starts itself;
// the sink's monitor is recorded and the bursts of a short tone are counted.
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/files.h"
#include "base/text.h"
#include "qt_fixture.h"
#include "support/child_process.h"
#include "view/media.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;
constexpr double kToneSeconds = 0.5;
constexpr double kToneAmplitude = 16000;

// A mono 16-bit WAV file with a 440 Hz tone.
void WriteTone(const fs::path& file) {
  const int samples = static_cast<int>(kRate * kToneSeconds);
  std::string data;
  for (int i = 0; i < samples; ++i) {
    auto v = static_cast<std::int16_t>(kToneAmplitude * std::sin(2 * M_PI * 440 * i / kRate));
    data += static_cast<char>(v & 0xFF);
    data += static_cast<char>((v >> 8) & 0xFF);
  }
  auto le = [](std::uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  std::string wav = "RIFF" + le(36 + static_cast<std::uint32_t>(data.size()), 4) + "WAVEfmt " +
                    le(16, 4) + le(1, 2) + le(1, 2) + le(kRate, 4) + le(kRate * 2, 4) + le(2, 2) +
                    le(16, 2) + "data" + le(static_cast<std::uint32_t>(data.size()), 4) + data;
  WriteRaw(file, wav);
}

// A private PulseAudio server with one null sink, reachable only through its own socket.
class PulseSink {
 public:
  explicit PulseSink(const fs::path& dir) : dir_(dir) {
    fs::create_directories(dir_);
    server_ = "unix:" + (dir_ / "native").string();
    ChildOptions o;
    o.env = {{"HOME", dir_.string()}, {"XDG_RUNTIME_DIR", dir_.string()}};
    o.err = dir_ / "pulseaudio.log";
    daemon_.emplace(
        std::vector<std::string>{"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                 "--use-pid-file=no", "-F", "/dev/null",
                                 "--load=module-native-protocol-unix socket=" +
                                     (dir_ / "native").string() + " auth-anonymous=1",
                                 "--load=module-null-sink sink_name=mirtest"},
        o);
    for (int i = 0; i < 100 && !ready_; ++i) {
      QTest::qWait(50);
      ready_ =
          RunChild({"pactl", "list", "short", "sinks"}, {.env = {{"PULSE_SERVER", server_}}}, 5)
              .status == 0;
    }
  }
  bool ready() const { return ready_; }
  const std::string& server() const { return server_; }
  std::string Log() const { return ReadRaw(dir_ / "pulseaudio.log"); }

 private:
  fs::path dir_;
  std::string server_;
  std::optional<Child> daemon_;
  bool ready_ = false;
};

struct Burst {
  double start;  // seconds from the start of the recording
  double peak;   // highest sample, as a share of the tone's own amplitude
};

// Splits a recording (16-bit mono) into bursts of sound separated by at least 0.3 s of silence.
std::vector<Burst> Bursts(const std::string& raw) {
  constexpr int kWindow = kRate / 50;  // 20 ms
  std::vector<Burst> bursts;
  int quietWindows = 1000;
  const std::size_t samples = raw.size() / 2;
  for (std::size_t w = 0; (w + 1) * kWindow <= samples; ++w) {
    double peak = 0;
    for (std::size_t i = w * kWindow; i < (w + 1) * kWindow; ++i) {
      std::int16_t v;
      std::memcpy(&v, raw.data() + 2 * i, 2);
      peak = std::max(peak, std::abs(static_cast<double>(v)));
    }
    if (peak < 1000) {
      ++quietWindows;
      continue;
    }
    if (quietWindows >= 15) bursts.push_back({static_cast<double>(w) * kWindow / kRate, 0});
    bursts.back().peak = std::max(bursts.back().peak, peak / kToneAmplitude);
    quietWindows = 0;
  }
  return bursts;
}

class AudioTest : public WindowTest {
 protected:
  void SetUp() override {
    if (!HaveProgram("pulseaudio") || !HaveProgram("parec") || !HaveProgram("pactl"))
      GTEST_SKIP() << "PulseAudio missing";
    // One server for the whole process: Qt's audio layer keeps its first connection.
    static TempDir pulseDir;
    static PulseSink sink(pulseDir.path());
    sink_ = &sink;
    ASSERT_TRUE(sink_->ready()) << sink_->Log();
    // Every player of this process plays into the test's own server.
    setenv("PULSE_SERVER", sink_->server().c_str(), 1);
    WriteTone(game() / "tone.wav");
    Open();
  }
  // Records the sink for `seconds` while the window's event loop runs.
  std::vector<Burst> Record(double seconds, const std::function<void()>& start) {
    ChildOptions o;
    o.env = {{"PULSE_SERVER", sink_->server()}};
    o.out = root.path() / "recording.raw";
    Child parec({"parec", "-d", "mirtest.monitor", "--raw", "--format=s16le",
                 "--rate=" + std::to_string(kRate), "--channels=1", "--latency-msec=20"},
                o);
    QTest::qWait(300);
    start();
    QTest::qWait(static_cast<int>(seconds * 1000));
    parec.Stop();
    return Bursts(ReadRaw(root.path() / "recording.raw"));
  }
  PulseSink* sink_ = nullptr;
};

TEST_F(AudioTest, MusicLoopsEveryTimerTickAtMinusOneDecibel) {
  auto bursts = Record(6.6, [&] { window->Run([&] { PlayMusicLine(p, "МУЗ TONE.WAV"_cp); }); });
  ASSERT_GE(bursts.size(), 3u) << "the music did not loop";
  // The first restart comes at the timer's first tick after the tone ended, wherever in the
  // timer's period the music began; every later one a whole period after the one before.
  EXPECT_GT(bursts[1].start - bursts[0].start, kToneSeconds);
  EXPECT_LT(bursts[1].start - bursts[0].start, kTimerIntervalMs / 1000.0 + kToneSeconds + 0.35);
  for (std::size_t i = 2; i < bursts.size(); ++i)
    EXPECT_NEAR(bursts[i].start - bursts[i - 1].start, kTimerIntervalMs / 1000.0, 0.35);
  for (const Burst& b : bursts) EXPECT_NEAR(b.peak, LinearVolume(kMusicVolume), 0.03);
  EXPECT_EQ(p.musicFile, "TONE.WAV");
}

TEST_F(AudioTest, SoundPlaysOnceAtMinusSixTenthsOfADecibel) {
  auto bursts = Record(4.5, [&] { window->Run([&] { PlaySoundLine(p, "ЗВУ tone.wav"_cp); }); });
  ASSERT_EQ(bursts.size(), 1u);
  EXPECT_NEAR(bursts[0].peak, LinearVolume(kSoundVolume), 0.03);
}

TEST_F(AudioTest, EmptyMusicLineStopsTheMusic) {
  auto bursts = Record(4.5, [&] {
    window->Run([&] { PlayMusicLine(p, "МУЗ tone.wav"_cp); });
    // Stopped once it has sounded for a while, and well before the timer's next look.
    for (int i = 0; i < 250 && platform.Music().Position().value_or(0) < 0.3; ++i) QTest::qWait(20);
    window->Run([&] { PlayMusicLine(p, "МУЗ "_cp); });
  });
  EXPECT_EQ(bursts.size(), 1u);
}

}  // namespace
}  // namespace mireval
