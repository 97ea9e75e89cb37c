#include "video/VideoEncoder.h"

#include <cstdio>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "image/BmpFile.h"

namespace tidemar {

namespace {

std::string ErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

bool Fail(std::string* reason, const std::string& what, int error = 0) {
    if (reason) *reason = error ? what + ": " + ErrorText(error) : what;
    return false;
}

}  // namespace

struct VideoEncoder::Codec {
    VideoFormat Format;
    std::string Path;
    std::string Temporary;
    AVFormatContext* Output = nullptr;
    AVCodecContext* Encoder = nullptr;
    AVStream* Stream = nullptr;
    AVFrame* Frame = nullptr;
    AVPacket* Packet = nullptr;
    SwsContext* Scaler = nullptr;
    std::vector<uint8_t> Rgb;
    int64_t Frames = 0;
    bool FileOpen = false;

    ~Codec() {
        // Frames still in the encoder's lookahead (an export given up half-way) are drained
        // and dropped first: x264 closed with frames in flight can keep one of them.
        if (Encoder && Packet && avcodec_is_open(Encoder) && avcodec_send_frame(Encoder, nullptr) >= 0)
            while (avcodec_receive_packet(Encoder, Packet) >= 0) av_packet_unref(Packet);
        sws_freeContext(Scaler);
        av_packet_free(&Packet);
        av_frame_free(&Frame);
        avcodec_free_context(&Encoder);
        if (Output) {
            if (FileOpen) avio_closep(&Output->pb);
            avformat_free_context(Output);
        }
        if (!Temporary.empty()) std::remove(Temporary.c_str());
    }

    // Sends `frame` (nothing: the end) and writes every packet the encoder has ready.
    bool Send(const AVFrame* frame, std::string* reason) {
        int error = avcodec_send_frame(Encoder, frame);
        if (error < 0) return Fail(reason, "the encoder refused a frame", error);
        for (;;) {
            error = avcodec_receive_packet(Encoder, Packet);
            if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return true;
            if (error < 0) return Fail(reason, "the encoder failed", error);
            av_packet_rescale_ts(Packet, Encoder->time_base, Stream->time_base);
            Packet->stream_index = Stream->index;
            error = av_interleaved_write_frame(Output, Packet);
            if (error < 0) return Fail(reason, "cannot write " + Path, error);
        }
    }
};

VideoEncoder::VideoEncoder() = default;
VideoEncoder::~VideoEncoder() = default;

std::string VideoEncoder::TemporaryName(const std::string& path) { return path + ".part"; }

bool VideoEncoder::Open(const std::string& path, const VideoFormat& format, std::string* reason) {
    codec_ = std::make_unique<Codec>();
    Codec& c = *codec_;
    c.Format = format;
    c.Path = path;
    av_log_set_level(AV_LOG_ERROR);

    const AVCodec* h264 = avcodec_find_encoder_by_name("libx264");
    if (!h264) h264 = avcodec_find_encoder(AV_CODEC_ID_H264);
    if (!h264) return Fail(reason, "no H.264 encoder in this FFmpeg");
    if (format.Width <= 0 || format.Height <= 0 || format.Width % 2 || format.Height % 2)
        return Fail(reason, "the video size must be even");

    const std::string temporary = TemporaryName(path);
    int error = avformat_alloc_output_context2(&c.Output, nullptr, "mp4", temporary.c_str());
    if (error < 0 || !c.Output) return Fail(reason, "no MP4 writer in this FFmpeg", error);

    c.Encoder = avcodec_alloc_context3(h264);
    c.Packet = av_packet_alloc();
    c.Frame = av_frame_alloc();
    if (!c.Encoder || !c.Packet || !c.Frame) return Fail(reason, "out of memory");
    c.Encoder->width = format.Width;
    c.Encoder->height = format.Height;
    c.Encoder->time_base = AVRational{1, format.Fps};
    c.Encoder->framerate = AVRational{format.Fps, 1};
    c.Encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    c.Encoder->gop_size = format.Fps * 10;
    c.Encoder->color_range = AVCOL_RANGE_MPEG;
    c.Encoder->colorspace = AVCOL_SPC_SMPTE170M;
    c.Encoder->color_primaries = AVCOL_PRI_SMPTE170M;
    c.Encoder->color_trc = AVCOL_TRC_SMPTE170M;
    if (c.Output->oformat->flags & AVFMT_GLOBALHEADER) c.Encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // Sonar pictures are fine detail on a still background: a low constant quality keeps
    // the echoes sharp, and the fast preset keeps an hour of recording to about a minute.
    av_opt_set(c.Encoder->priv_data, "preset", "veryfast", 0);
    av_opt_set(c.Encoder->priv_data, "crf", "18", 0);
    error = avcodec_open2(c.Encoder, h264, nullptr);
    if (error < 0) return Fail(reason, "cannot start the H.264 encoder", error);

    c.Stream = avformat_new_stream(c.Output, nullptr);
    if (!c.Stream) return Fail(reason, "out of memory");
    c.Stream->time_base = c.Encoder->time_base;
    c.Stream->avg_frame_rate = c.Encoder->framerate;
    error = avcodec_parameters_from_context(c.Stream->codecpar, c.Encoder);
    if (error < 0) return Fail(reason, "cannot set up the video stream", error);

    ClearTemporaryName(temporary);
    error = avio_open(&c.Output->pb, temporary.c_str(), AVIO_FLAG_WRITE);
    if (error < 0) return Fail(reason, "cannot create " + path, error);
    c.FileOpen = true;
    c.Temporary = temporary;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "+faststart", 0);
    error = avformat_write_header(c.Output, &options);
    av_dict_free(&options);
    if (error < 0) return Fail(reason, "cannot write " + path, error);

    c.Frame->format = AV_PIX_FMT_YUV420P;
    c.Frame->width = format.Width;
    c.Frame->height = format.Height;
    c.Frame->color_range = AVCOL_RANGE_MPEG;
    c.Frame->colorspace = AVCOL_SPC_SMPTE170M;
    error = av_frame_get_buffer(c.Frame, 0);
    if (error < 0) return Fail(reason, "out of memory", error);

    c.Scaler = sws_getContext(format.PictureWidth, format.PictureHeight, AV_PIX_FMT_RGB24, format.Width, format.Height,
                              AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP, nullptr, nullptr,
                              nullptr);
    if (!c.Scaler) return Fail(reason, "cannot scale the picture to the video size");
    c.Rgb.resize(static_cast<size_t>(format.PictureWidth) * static_cast<size_t>(format.PictureHeight) * 3);
    return true;
}

bool VideoEncoder::AddFrames(const uint8_t* pixels, const std::array<uint8_t, 1024>& colorTable, int64_t count,
                             std::string* reason, const std::atomic<bool>* stop) {
    if (!codec_ || !codec_->FileOpen) return Fail(reason, "the video is not open");
    if (count <= 0) return true;
    Codec& c = *codec_;
    // The encoder may still hold the last picture: it gets a buffer of its own if so.
    int error = av_frame_make_writable(c.Frame);
    if (error < 0) return Fail(reason, "out of memory", error);
    const size_t pixelCount = static_cast<size_t>(c.Format.PictureWidth) * static_cast<size_t>(c.Format.PictureHeight);
    uint8_t* rgb = c.Rgb.data();
    for (size_t i = 0; i < pixelCount; ++i) {
        const uint8_t* entry = colorTable.data() + 4 * pixels[i];
        rgb[3 * i] = entry[2];
        rgb[3 * i + 1] = entry[1];
        rgb[3 * i + 2] = entry[0];
    }
    const uint8_t* source[1] = {rgb};
    const int stride[1] = {c.Format.PictureWidth * 3};
    sws_scale(c.Scaler, source, stride, 0, c.Format.PictureHeight, c.Frame->data, c.Frame->linesize);
    for (int64_t i = 0; i < count; ++i) {
        if (stop && stop->load()) return Fail(reason, "stopped");
        c.Frame->pts = c.Frames++;
        if (!c.Send(c.Frame, reason)) return false;
    }
    return true;
}

bool VideoEncoder::Finish(std::string* reason) {
    if (!codec_ || !codec_->FileOpen) return Fail(reason, "the video is not open");
    Codec& c = *codec_;
    bool done = c.Send(nullptr, reason);
    if (done) {
        const int error = av_write_trailer(c.Output);
        if (error < 0) done = Fail(reason, "cannot write " + c.Path, error);
    }
    const int closed = avio_closep(&c.Output->pb);
    c.FileOpen = false;
    if (done && closed < 0) done = Fail(reason, "cannot write " + c.Path, closed);
    if (done && std::rename(c.Temporary.c_str(), c.Path.c_str()) != 0)
        done = Fail(reason, "cannot rename " + c.Temporary + " to " + c.Path, AVERROR(errno));
    if (done) c.Temporary.clear();
    codec_.reset();
    return done;
}

void VideoEncoder::Abandon() { codec_.reset(); }

int64_t VideoEncoder::FramesWritten() const { return codec_ ? codec_->Frames : 0; }

}  // namespace tidemar
