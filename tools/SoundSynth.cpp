// Renders a sound description (assets/sounds/*.snd, assets/music/*.snd) into a
// 16-bit mono WAV or an Ogg Vorbis file, chosen by the output's extension.
//
// Description lines ('#' after a blank or at the start of a line starts a comment):
//   length SECONDS                 length of the sound
//   peak DBFS                      loudest sample after normalising (e.g. -1.5)
//   loop                           notes ringing past the end wrap round to the start
//   tone START DUR WAVE F0 F1 AMP ATTACK DECAY
//                                  one voice: pitch glides from F0 to F1 (Hz or note
//                                  names such as C5, F#4, Bb3); after ATTACK seconds the
//                                  level falls by e every DECAY seconds
//   tempo BPM                      beat length for the note lists below
//   track WAVE AMP ATTACK DECAY    starts a note list played with this voice
//   notes TOKEN...                 NOTE/BEATS, chords as C4+E4+G4/BEATS, rests r/BEATS
// WAVE: sine, triangle, square, bell, marimba, pluck, noise (band-passed at the pitch).
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kEdgeFade = 0.004;  // seconds of fade at both ends of every voice
constexpr double kNoiseDamping = 0.6;  // lower is a narrower, more tuned whoosh

enum class Wave { Sine, Triangle, Square, Bell, Marimba, Pluck, Noise };

struct Voice {
  double start = 0, duration = 0;
  Wave wave = Wave::Sine;
  double f0 = 440, f1 = 440;
  double amp = 0.5, attack = 0.005, decay = 1.0;
};

struct Track {
  Wave wave = Wave::Sine;
  double amp = 0.3, attack = 0.01, decay = 0.5;
  double cursor = 0;  // seconds
};

struct Description {
  double length = 1.0;
  double peakDb = -1.5;
  bool loop = false;
  double beat = 0.5;
  std::vector<Voice> voices;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  std::cerr << where << ": " << what << "\n";
  std::exit(1);
}

Wave ParseWave(const std::string& name, const std::string& where) {
  if (name == "sine") return Wave::Sine;
  if (name == "triangle") return Wave::Triangle;
  if (name == "square") return Wave::Square;
  if (name == "bell") return Wave::Bell;
  if (name == "marimba") return Wave::Marimba;
  if (name == "pluck") return Wave::Pluck;
  if (name == "noise") return Wave::Noise;
  Fail(where, "unknown wave " + name);
}

// A frequency in Hz, or a note name: letter, optional # or b, octave (A4 = 440 Hz).
double ParsePitch(const std::string& text, const std::string& where) {
  if (text.empty()) Fail(where, "missing pitch");
  if (std::isdigit(static_cast<unsigned char>(text[0]))) {
    const double hertz = std::stod(text);
    if (hertz <= 0) Fail(where, "a pitch must be above 0 Hz");
    return hertz;
  }
  static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  if (letter < 'A' || letter > 'G') Fail(where, "bad note " + text);
  int semitone = kSemitone[letter - 'A'];
  size_t i = 1;
  if (i < text.size() && text[i] == '#') { ++semitone; ++i; }
  else if (i < text.size() && text[i] == 'b') { --semitone; ++i; }
  if (i >= text.size()) Fail(where, "note without octave " + text);
  int octave = std::stoi(text.substr(i));
  const int midi = 12 * (octave + 1) + semitone;
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

void AddNotes(std::istringstream& tokens, Track& track, Description& d, const std::string& where) {
  std::string token;
  while (tokens >> token) {
    size_t slash = token.find('/');
    if (slash == std::string::npos) Fail(where, "note without length " + token);
    const double beats = std::stod(token.substr(slash + 1));
    if (beats <= 0) Fail(where, "a note needs a length above 0 beats");
    std::string pitches = token.substr(0, slash);
    if (pitches != "r") {
      std::stringstream chord(pitches);
      std::string pitch;
      while (std::getline(chord, pitch, '+')) {
        Voice v;
        v.start = track.cursor;
        v.duration = beats * d.beat;
        v.wave = track.wave;
        v.f0 = v.f1 = ParsePitch(pitch, where);
        v.amp = track.amp;
        v.attack = track.attack;
        v.decay = track.decay;
        d.voices.push_back(v);
      }
    }
    track.cursor += beats * d.beat;
  }
}

// '#' starts a comment at the start of a line or after a blank; F#4 is a note.
std::string StripComment(const std::string& line) {
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
  }
  return line;
}

Description ReadDescription(const std::string& path) {
  std::ifstream in(path);
  if (!in) Fail(path, "cannot open");
  Description d;
  Track track;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::string where = path + ":" + std::to_string(number);
    line = StripComment(line);
    std::istringstream tokens(line);
    std::string word;
    if (!(tokens >> word)) continue;
    if (word == "length") tokens >> d.length;
    else if (word == "peak") tokens >> d.peakDb;
    else if (word == "loop") d.loop = true;
    else if (word == "tempo") { double bpm; tokens >> bpm; d.beat = 60.0 / bpm; }
    else if (word == "track") {
      std::string wave;
      track = Track{};
      tokens >> wave >> track.amp >> track.attack >> track.decay;
      track.wave = ParseWave(wave, where);
      if (track.attack < 0 || track.decay <= 0) Fail(where, "times must be positive");
    } else if (word == "notes") {
      AddNotes(tokens, track, d, where);
      continue;
    } else if (word == "tone") {
      Voice v;
      std::string wave, f0, f1;
      tokens >> v.start >> v.duration >> wave >> f0 >> f1 >> v.amp >> v.attack >> v.decay;
      v.wave = ParseWave(wave, where);
      v.f0 = ParsePitch(f0, where);
      v.f1 = ParsePitch(f1, where);
      if (v.duration <= 0 || v.start < 0 || v.attack < 0 || v.decay <= 0) Fail(where, "times must be positive");
      d.voices.push_back(v);
    } else Fail(where, "unknown word " + word);
    if (tokens.fail()) Fail(where, "incomplete line");
  }
  if (d.length <= 0 || d.length > 120) Fail(path, "length out of range");
  return d;
}

// Additive partials of a band-limited wave: (harmonic ratio, level, extra decay rate per second).
struct Partial { double ratio, level, damping; };

std::vector<Partial> PartialsOf(Wave wave, double pitch) {
  std::vector<Partial> p;
  double nyquist = kSampleRate / 2.0 * 0.9;
  switch (wave) {
    case Wave::Sine: p = {{1, 1, 0}}; break;
    case Wave::Triangle:
      for (int h = 1; h <= 9; h += 2) p.push_back({double(h), ((h / 2) % 2 ? -1.0 : 1.0) / (h * h), 0});
      break;
    case Wave::Square:
      for (int h = 1; h <= 11; h += 2) p.push_back({double(h), 0.8 / h, 0});
      break;
    case Wave::Bell: p = {{1, 1, 0}, {2.76, 0.35, 4}, {5.4, 0.18, 9}, {8.93, 0.08, 14}}; break;
    case Wave::Marimba: p = {{1, 1, 0}, {4.0, 0.28, 18}, {9.9, 0.06, 40}}; break;
    case Wave::Pluck: p = {{1, 1, 0}, {2, 0.5, 3}, {3, 0.3, 6}, {4, 0.15, 9}, {5, 0.08, 12}}; break;
    case Wave::Noise: break;
  }
  std::vector<Partial> audible;
  for (const Partial& q : p) {
    if (q.ratio * pitch < nyquist) audible.push_back(q);
  }
  return audible;
}

double Envelope(const Voice& v, double t) {
  double level = t < v.attack ? t / v.attack : std::exp(-(t - v.attack) / v.decay);
  double fadeIn = std::min(1.0, t / kEdgeFade);
  double fadeOut = std::min(1.0, (v.duration - t) / kEdgeFade);
  return level * std::max(0.0, std::min(fadeIn, fadeOut));
}

void RenderVoice(const Voice& v, std::vector<double>& out, bool loop, std::mt19937& random) {
  const size_t total = out.size();
  const size_t first = static_cast<size_t>(std::llround(v.start * kSampleRate));
  const size_t count = static_cast<size_t>(v.duration * kSampleRate);
  const std::vector<Partial> partials = PartialsOf(v.wave, std::max(v.f0, v.f1));
  std::vector<double> phases(partials.size(), 0.0);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  double low[2] = {0, 0}, band[2] = {0, 0};  // two band-pass stages shape the noise
  for (size_t i = 0; i < count; ++i) {
    double t = double(i) / kSampleRate;
    double progress = v.duration > 0 ? t / v.duration : 0;
    double pitch = v.f0 * std::pow(v.f1 / v.f0, progress);
    double sample = 0;
    if (v.wave == Wave::Noise) {
      double f = 2.0 * std::sin(kPi * std::min(pitch, kSampleRate / 6.0) / kSampleRate);
      sample = noise(random);
      for (int stage = 0; stage < 2; ++stage) {
        double high = sample - low[stage] - kNoiseDamping * band[stage];
        band[stage] += f * high;
        low[stage] += f * band[stage];
        sample = band[stage];
      }
    } else {
      for (size_t k = 0; k < partials.size(); ++k) {
        phases[k] += 2 * kPi * pitch * partials[k].ratio / kSampleRate;
        sample += partials[k].level * std::exp(-partials[k].damping * t) * std::sin(phases[k]);
      }
    }
    size_t at = first + i;
    if (at >= total) {
      if (!loop) break;
      at %= total;
    }
    out[at] += v.amp * Envelope(v, t) * sample;
  }
}

std::vector<int16_t> Render(const Description& d) {
  std::vector<double> mix(static_cast<size_t>(d.length * kSampleRate), 0.0);
  std::mt19937 random(20261207);
  for (const Voice& v : d.voices) RenderVoice(v, mix, d.loop, random);
  double peak = 0;
  for (double s : mix) peak = std::max(peak, std::fabs(s));
  if (peak <= 0) Fail("render", "the sound is silent");
  double gain = std::pow(10.0, d.peakDb / 20.0) / peak;
  std::vector<int16_t> pcm(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) pcm[i] = static_cast<int16_t>(std::lround(mix[i] * gain * 32767.0));
  return pcm;
}

void PutLE(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void WriteWav(const std::string& path, const std::vector<int16_t>& pcm) {
  std::string out = "RIFF";
  const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
  PutLE(out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  PutLE(out, 16, 4);
  PutLE(out, 1, 2);                 // PCM
  PutLE(out, 1, 2);                 // mono
  PutLE(out, kSampleRate, 4);
  PutLE(out, kSampleRate * 2, 4);   // bytes per second
  PutLE(out, 2, 2);                 // block align
  PutLE(out, 16, 2);                // bits per sample
  out += "data";
  PutLE(out, dataBytes, 4);
  for (int16_t s : pcm) PutLE(out, static_cast<uint16_t>(s), 2);
  std::ofstream file(path, std::ios::binary);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  if (!file) Fail(path, "cannot write");
}

void WriteOgg(const std::string& path, const std::vector<int16_t>& pcm) {
  std::ofstream file(path, std::ios::binary);
  if (!file) Fail(path, "cannot write");
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, kSampleRate, 0.5f) != 0) Fail(path, "vorbis set-up failed");
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);
  ogg_page page;
  ogg_packet packet;
  auto writePage = [&] {
    file.write(reinterpret_cast<const char*>(page.header), page.header_len);
    file.write(reinterpret_cast<const char*>(page.body), page.body_len);
  };
  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  while (ogg_stream_flush(&stream, &page) != 0) writePage();

  const size_t chunk = 4096;
  for (size_t done = 0; done <= pcm.size();) {
    size_t n = std::min(chunk, pcm.size() - done);
    if (n == 0) {
      vorbis_analysis_wrote(&dsp, 0);  // end of stream
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
      for (size_t i = 0; i < n; ++i) buffer[0][i] = pcm[done + i] / 32768.0f;
      vorbis_analysis_wrote(&dsp, static_cast<int>(n));
    }
    done += n == 0 ? 1 : n;
    bool ended = false;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          writePage();
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
    if (ended) break;
  }
  while (ogg_stream_flush(&stream, &page) != 0) writePage();
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  if (!file) Fail(path, "cannot write");
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: tafu_sound_synth description.snd out.wav|out.ogg\n";
    return 2;
  }
  const std::string output = argv[2];
  std::vector<int16_t> pcm;
  try {
    pcm = Render(ReadDescription(argv[1]));
  } catch (const std::exception& e) {  // std::stod and std::stoi on a malformed number
    Fail(argv[1], std::string("malformed number (") + e.what() + ")");
  }
  if (EndsWith(output, ".ogg")) WriteOgg(output, pcm);
  else if (EndsWith(output, ".wav")) WriteWav(output, pcm);
  else Fail(output, "the output must end in .wav or .ogg");
  return 0;
}
