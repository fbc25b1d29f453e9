// SPDX-License-Identifier: GPL-3.0-or-later
// Video clips through FFmpeg's libraries: a poster frame about a second in (the first that is
// not black), scaled to the display box as it is converted, and the facts the page shows.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>

#include "imagelib/whole_decode.h"

namespace vantle {
namespace {

constexpr int kIoBuffer = 1 << 16;
constexpr int kMostPackets = 3000;  // read looking for the poster, then the last frame is it
constexpr int kMostDarkFrames = 90;

int ReadPacket(void* file, uint8_t* buffer, int size) {
  const size_t got = std::fread(buffer, 1, static_cast<size_t>(size), static_cast<FILE*>(file));
  return got == 0 ? AVERROR_EOF : static_cast<int>(got);
}

int64_t SeekFile(void* opaque, int64_t offset, int whence) {
  FILE* file = static_cast<FILE*>(opaque);
  if (whence == AVSEEK_SIZE) {
    const off_t at = ftello(file);
    if (fseeko(file, 0, SEEK_END) != 0) return -1;
    const off_t size = ftello(file);
    fseeko(file, at, SEEK_SET);
    return size;
  }
  return fseeko(file, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE) == 0 ? ftello(file) : -1;
}

// FFmpeg's own messages would go to the program's terminal; the caller reports failures.
void Quieten() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

void CloseInput(AVFormatContext* format) {
  if (format == nullptr) return;
  AVIOContext* io = format->pb;
  avformat_close_input(&format);
  if (io != nullptr) av_freep(&io->buffer);
  avio_context_free(&io);
}

// An open clip: its container read over the caller's FILE, its best video stream found.
class Clip {
 public:
  explicit Clip(FILE* file) : format_(nullptr, CloseInput) {
    Quieten();
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBuffer));
    AVIOContext* io = buffer == nullptr ? nullptr
                                        : avio_alloc_context(buffer, kIoBuffer, 0, file, ReadPacket,
                                                             nullptr, SeekFile);
    if (io == nullptr) {
      av_free(buffer);
      return;
    }
    AVFormatContext* format = avformat_alloc_context();
    if (format == nullptr) {
      av_freep(&io->buffer);
      avio_context_free(&io);
      return;
    }
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (avformat_open_input(&format, nullptr, nullptr, nullptr) < 0) {
      av_freep(&io->buffer);  // avformat_open_input freed the context
      avio_context_free(&io);
      return;
    }
    format_.reset(format);
    if (avformat_find_stream_info(format, nullptr) < 0) return;
    stream_ = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  }

  bool ok() const { return format_ != nullptr && stream_ >= 0; }
  AVFormatContext* format() const { return format_.get(); }
  AVStream* stream() const { return format_->streams[stream_]; }
  int index() const { return stream_; }

 private:
  std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> format_;
  int stream_ = -1;
};

// The picture's size as shown: stored size stretched by its sample aspect ratio.
Size ShownSize(const AVStream* stream) {
  const AVCodecParameters* codec = stream->codecpar;
  AVRational aspect = av_guess_sample_aspect_ratio(nullptr, const_cast<AVStream*>(stream), nullptr);
  if (aspect.num <= 0 || aspect.den <= 0) aspect = {1, 1};
  const double width = std::round(codec->width * av_q2d(aspect));
  return {width > 0 && width < 1e6 ? static_cast<int>(width) : codec->width, codec->height};
}

// The clip's turn, from the display matrix its container carries, as an EXIF orientation.
int OrientationOf(const AVStream* stream) {
  size_t size = 0;
  const uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
  if (matrix == nullptr || size < 9 * sizeof(int32_t)) return 1;
  const double turn = -av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
  const long quarter = std::lround((std::isnan(turn) ? 0 : turn) / 90.0);
  switch (((quarter % 4) + 4) % 4) {
    case 1:
      return 6;  // a quarter clockwise
    case 2:
      return 3;
    case 3:
      return 8;
    default:
      return 1;
  }
}

// The decoder's frames held at once: the reference frames of the longest HEVC or H.264
// stream and the few in flight, in the stored bytes of a sample.
size_t DecoderBytes(Size size, int bits) {
  const size_t pixels = size_t{static_cast<size_t>(size.width)} * static_cast<size_t>(size.height);
  return pixels * (bits > 8 ? 3 : 2) * 8;
}

struct Decoder {
  std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> context{
      nullptr, [](AVCodecContext* c) { avcodec_free_context(&c); }};
  std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame{av_frame_alloc(),
                                                     [](AVFrame* f) { av_frame_free(&f); }};
  std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet{av_packet_alloc(),
                                                        [](AVPacket* p) { av_packet_free(&p); }};
};

bool OpenDecoder(const AVStream* stream, Decoder* decoder) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (codec == nullptr || decoder->frame == nullptr || decoder->packet == nullptr) return false;
  decoder->context.reset(avcodec_alloc_context3(codec));
  AVCodecContext* context = decoder->context.get();
  if (context == nullptr || avcodec_parameters_to_context(context, stream->codecpar) < 0) {
    return false;
  }
  context->thread_count = 1;  // one picture's memory; the run's workers use the cores
  return avcodec_open2(context, codec, nullptr) >= 0;
}

// Converts `frame` to RGB at `fitted` in `out`; false when swscale cannot take it.
bool ConvertFrame(const AVFrame* frame, Size fitted, Raster* out) {
  SwsContext* scaler = sws_getContext(
      frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), fitted.width,
      fitted.height, AV_PIX_FMT_RGB24, SWS_AREA, nullptr, nullptr, nullptr);
  if (scaler == nullptr) return false;
  out->width = fitted.width;
  out->height = fitted.height;
  out->channels = 3;
  out->pixels.assign(size_t{static_cast<size_t>(fitted.width)} * fitted.height * 3, 0);
  uint8_t* planes[4] = {out->pixels.data(), nullptr, nullptr, nullptr};
  int strides[4] = {fitted.width * 3, 0, 0, 0};
  const int rows =
      sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
  sws_freeContext(scaler);
  return rows == fitted.height;
}

// Nearly black all over: a fade-in, or a lens cap.
bool IsDark(const Raster& image) {
  uint64_t sum = 0;
  for (uint8_t value : image.pixels) sum += value;
  return image.pixels.empty() || sum < uint64_t{20} * image.pixels.size();
}

// Moves to about a second in (a clip of less than two seconds starts at its first frame);
// returns the time, in the stream's units, from which a frame may be the poster.
int64_t SeekToPoster(const Clip& clip) {
  const AVStream* stream = clip.stream();
  const int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
  if (clip.format()->duration < 2 * int64_t{AV_TIME_BASE}) return start;
  const int64_t target = start + av_rescale_q(AV_TIME_BASE, AV_TIME_BASE_Q, stream->time_base);
  if (av_seek_frame(clip.format(), clip.index(), target, AVSEEK_FLAG_BACKWARD) < 0) return start;
  return target;
}

// Decodes until the poster: the first frame from `from` on that is not dark, else the last
// frame seen. False when no frame could be decoded at all.
bool DecodePoster(const Clip& clip, Decoder& decoder, int64_t from, Size fitted, Raster* out) {
  AVCodecContext* context = decoder.context.get();
  int dark = 0;
  bool any = false, draining = false;
  for (int packets = 0; packets < kMostPackets;) {
    if (!draining) {
      const int read = av_read_frame(clip.format(), decoder.packet.get());
      if (read < 0) {
        draining = true;
        avcodec_send_packet(context, nullptr);
      } else {
        const bool ours = decoder.packet->stream_index == clip.index();
        if (ours) ++packets;
        if (ours) avcodec_send_packet(context, decoder.packet.get());
        av_packet_unref(decoder.packet.get());
      }
    }
    while (avcodec_receive_frame(context, decoder.frame.get()) >= 0) {
      const int64_t time = decoder.frame->best_effort_timestamp;
      const bool early = time != AV_NOPTS_VALUE && time < from;
      if (!early && ConvertFrame(decoder.frame.get(), fitted, out)) {
        any = true;
        if (!IsDark(*out) || ++dark >= kMostDarkFrames) return true;
      }
      av_frame_unref(decoder.frame.get());
    }
    if (draining) break;
  }
  return any;
}

}  // namespace

bool DecodeClip(FILE* file, WholePicture* out) {
  const Clip clip(file);
  if (!clip.ok()) return false;
  const AVStream* stream = clip.stream();
  const AVCodecParameters* codec = stream->codecpar;
  const Size shown = ShownSize(stream);
  out->full = shown;
  if (codec->width <= 0 || codec->height <= 0 ||
      DecoderBytes({codec->width, codec->height}, codec->bits_per_raw_sample) > kWholeBudget) {
    out->too_large = codec->width > 0 && codec->height > 0;
    return false;
  }
  Decoder decoder;
  if (!OpenDecoder(stream, &decoder)) return false;
  const int64_t from = SeekToPoster(clip);
  if (!DecodePoster(clip, decoder, from, FitWithin(shown, kRawPreviewFloor), &out->image)) {
    return false;
  }
  out->orientation = OrientationOf(stream);
  return true;
}

size_t ClipBytes(FILE* file, int box) {
  const Clip clip(file);
  if (!clip.ok()) return 0;
  const AVCodecParameters* codec = clip.stream()->codecpar;
  const Size fitted = FitWithin(ShownSize(clip.stream()), box);
  return DecoderBytes({codec->width, codec->height}, codec->bits_per_raw_sample) +
         size_t{3} * fitted.width * fitted.height * 3;
}

namespace {

std::string Tag(const AVDictionary* tags, const char* key) {
  const AVDictionaryEntry* entry = av_dict_get(tags, key, nullptr, 0);
  return entry == nullptr || entry->value == nullptr ? "" : entry->value;
}

std::string CodecName(const AVFormatContext* format, AVMediaType type) {
  const int index =
      av_find_best_stream(const_cast<AVFormatContext*>(format), type, -1, -1, nullptr, 0);
  if (index < 0) return "";
  const char* name = avcodec_get_name(format->streams[index]->codecpar->codec_id);
  return name == nullptr ? "" : name;
}

}  // namespace

bool ReadClipFacts(FILE* file, ClipFacts* facts) {
  const Clip clip(file);
  if (!clip.ok()) return false;
  const AVFormatContext* format = clip.format();
  const AVDictionary* tags = format->metadata;
  if (format->duration > 0) facts->seconds = static_cast<double>(format->duration) / AV_TIME_BASE;
  facts->created = Tag(tags, "com.apple.quicktime.creationdate");
  if (facts->created.empty()) facts->created = Tag(tags, "creation_time");
  facts->title = Tag(tags, "title");
  facts->comment = Tag(tags, "comment");
  if (facts->comment.empty()) facts->comment = Tag(tags, "description");
  facts->container = format->iformat->name;
  facts->video = CodecName(format, AVMEDIA_TYPE_VIDEO);
  facts->audio = CodecName(format, AVMEDIA_TYPE_AUDIO);
  Size shown = ShownSize(clip.stream());
  const int orientation = OrientationOf(clip.stream());
  if (orientation == 6 || orientation == 8) shown = {shown.height, shown.width};
  facts->shown = shown;
  return true;
}

}  // namespace vantle
