#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gdiplus/graphics_object.h"
#include "resources/embedded_images.h"
#include "tests/gdiplus/gdiplus_environment.h"

namespace {

using gdiplus::BitmapObject;
using gdiplus::Bytes;
using gdiplus::ImageObject;
using gdiplus::StreamObject;
using resources::ImageRole;
using testsupport::Alpha;

const char kJpegFormat[] = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

bool StartsWithPngSignature(const Bytes& bytes) {
  return bytes.size() >= 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0;
}

// A PNG's last chunk is IEND with a fixed CRC: nothing may follow it.
bool EndsWithIend(const Bytes& bytes) {
  const unsigned char iend[8] = {'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  return bytes.size() >= 8 && std::memcmp(bytes.data() + bytes.size() - 8, iend, 8) == 0;
}

TEST(StreamObject, HoldsExactlyTheBytesGiven) {
  const Bytes cases[] = {{}, {0}, {1, 2, 3}, Bytes(4097, 0x5A)};
  for (const auto& bytes : cases) {
    StreamObject stream;
    ASSERT_NE(stream.CreateFromBytes(bytes), nullptr) << bytes.size();
    EXPECT_EQ(stream.GetBytes(), bytes);
    EXPECT_GE(stream.GlobalSize(), bytes.size());
    stream.ReleaseStream();
    EXPECT_EQ(stream.GetStream(), nullptr);
    EXPECT_EQ(stream.GetMemoryHandle(), nullptr);
    EXPECT_TRUE(stream.GetBytes().empty());
  }
}

TEST(StreamObject, RefusesASizeWithoutBytes) {
  StreamObject stream;
  ASSERT_NE(stream.CreateFromBytes(Bytes{1, 2}), nullptr);
  EXPECT_EQ(stream.CreateFromBytes(nullptr, 16), nullptr);
  EXPECT_EQ(stream.GetStream(), nullptr);  // what it held before is gone too
  EXPECT_TRUE(stream.GetBytes().empty());
}

TEST(StreamObject, GetBytesStopsAtWhatWasWrittenNotAtTheBlockSize) {
  StreamObject stream;
  ASSERT_NE(stream.CreateFromBytes(nullptr, 0), nullptr);
  const char text[] = "seven b";
  ULONG written = 0;
  ASSERT_EQ(stream.GetStream()->Write(text, 7, &written), S_OK);
  EXPECT_EQ(stream.GetBytes(), AsBytes("seven b"));

  // Systems round global blocks up, and a stream grows its block in steps:
  // a block larger than the stream must not add bytes.
  ASSERT_NE(GlobalReAlloc(stream.GetMemoryHandle(), 4096, GMEM_MOVEABLE | GMEM_ZEROINIT), nullptr);
  ASSERT_GE(stream.GlobalSize(), 4096u);
  EXPECT_EQ(stream.GetBytes(), AsBytes("seven b"));
}

struct EmbeddedCase {
  ImageRole role;
  UINT width;
  UINT height;
  bool png;
};

const EmbeddedCase kEmbedded[] = {
    {ImageRole::HelpGlyph, 26, 18, true},     {ImageRole::MenuGlyph, 26, 18, true},
    {ImageRole::MinimizeGlyph, 26, 18, true}, {ImageRole::MaximizeGlyph, 26, 18, true},
    {ImageRole::RestoreGlyph, 26, 18, true},  {ImageRole::CloseGlyph, 38, 18, true},
    {ImageRole::CheckGlyph, 13, 12, true},    {ImageRole::ArrowUpGlyph, 7, 4, true},
    {ImageRole::ArrowDownGlyph, 7, 4, true},  {ImageRole::ArrowLeftGlyph, 4, 7, true},
    {ImageRole::ArrowRightGlyph, 4, 7, true}, {ImageRole::BackgroundPicture, 500, 375, false},
};

TEST(EmbeddedImages, EveryRoleLoadsAtItsSizeAndFormat) {
  ASSERT_EQ(std::size(kEmbedded), std::size(resources::kAllImageRoles));
  for (const auto& c : kEmbedded) {
    SCOPED_TRACE(static_cast<int>(c.role));
    BitmapObject bitmap;
    ASSERT_TRUE(bitmap.CreateBitmapFromStream(resources::embeddedImageBytes(c.role)));
    EXPECT_EQ(bitmap.GetImageWidth(), c.width);
    EXPECT_EQ(bitmap.GetImageHeight(), c.height);
    EXPECT_EQ(bitmap.GetImageRawFormat(), c.png ? gdiplus::kPngFormat : kJpegFormat);
    if (c.png) {
      EXPECT_EQ(bitmap.GetImagePixelFormat(), static_cast<Gdiplus::PixelFormat>(PixelFormat32bppARGB));
    }
  }
}

// White glyphs on the caption, black arrows on the light scroll bars: each
// shape sits on transparency and its most opaque pixel has the role's colour.
TEST(EmbeddedImages, GlyphsAreShapesOnTransparency) {
  for (const auto& c : kEmbedded) {
    if (!c.png) continue;
    SCOPED_TRACE(static_cast<int>(c.role));
    BitmapObject bitmap;
    ASSERT_TRUE(bitmap.CreateBitmapFromStream(resources::embeddedImageBytes(c.role)));
    int clear = 0;
    gdiplus::ARGB strongest = 0;
    for (UINT y = 0; y < c.height; ++y) {
      for (UINT x = 0; x < c.width; ++x) {
        gdiplus::ARGB pixel = bitmap.BitmapGetPixel(static_cast<INT>(x), static_cast<INT>(y));
        if (Alpha(pixel) < 32) ++clear;
        if (Alpha(pixel) > Alpha(strongest)) strongest = pixel;
        // The check-box painter keeps pure white pixels as they are: those are the transparent ones.
        if (c.role == ImageRole::CheckGlyph && Alpha(pixel) == 0) {
          EXPECT_EQ(pixel & 0xFFFFFFu, 0xFFFFFFu);
        }
      }
    }
    EXPECT_GT(clear, 0);
    EXPECT_GE(Alpha(strongest), 200);
    gdiplus::ARGB colour = strongest & 0xFFFFFFu;
    switch (c.role) {
      case ImageRole::CheckGlyph: EXPECT_GT(testsupport::Green(colour), testsupport::Red(colour) + 40); break;
      case ImageRole::ArrowUpGlyph:
      case ImageRole::ArrowDownGlyph:
      case ImageRole::ArrowLeftGlyph:
      case ImageRole::ArrowRightGlyph: EXPECT_EQ(colour, 0x000000u); break;
      default: EXPECT_EQ(colour, 0xFFFFFFu);
    }
  }
}

TEST(BitmapObject, SourceBytesMayGoRightAfterLoading) {
  BitmapObject bitmap;
  {
    Bytes bytes = resources::embeddedImageBytes(ImageRole::CloseGlyph);
    ASSERT_TRUE(bitmap.CreateBitmapFromStream(bytes));
    std::fill(bytes.begin(), bytes.end(), 0);
  }
  EXPECT_EQ(bitmap.GetImageWidth(), 38u);
  BitmapObject copy;
  ASSERT_TRUE(copy.CreateBitmapFromStream(bitmap.SaveImageToStream(gdiplus::kPngFormat)));
  EXPECT_EQ(copy.GetImageHeight(), 18u);
}

TEST(BitmapObject, BytesThatAreNoImageFailAndLeaveTheObjectEmpty) {
  const Bytes cases[] = {{}, AsBytes("not an image at all"), Bytes(kPngSignature, kPngSignature + 8)};
  for (const auto& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    BitmapObject fresh;
    EXPECT_FALSE(fresh.CreateBitmapFromStream(bytes));
    EXPECT_TRUE(fresh.IsEmpty());
    EXPECT_EQ(fresh.GetImageWidth(), 0u);

    // Over a loaded bitmap the old image goes too: nothing stale remains.
    BitmapObject loaded;
    ASSERT_TRUE(loaded.CreateBitmapFromStream(resources::embeddedImageBytes(ImageRole::MenuGlyph)));
    EXPECT_FALSE(loaded.CreateBitmapFromStream(bytes));
    EXPECT_TRUE(loaded.IsEmpty());
    EXPECT_EQ(loaded.GetImageHeight(), 0u);

    ImageObject image;
    EXPECT_FALSE(image.LoadImageFromStream(bytes));
    EXPECT_TRUE(image.IsEmpty());
  }
}

TEST(BitmapObject, CreatingAgainReplacesTheImage) {
  BitmapObject bitmap;
  ASSERT_TRUE(bitmap.CreateBitmapFromStream(resources::embeddedImageBytes(ImageRole::ArrowUpGlyph)));
  ASSERT_TRUE(bitmap.CreateBitmapFromStream(resources::embeddedImageBytes(ImageRole::BackgroundPicture)));
  EXPECT_EQ(bitmap.GetImageWidth(), 500u);
  ASSERT_TRUE(bitmap.CreateBitmapFromScan0(3, 2));
  EXPECT_EQ(bitmap.GetImageWidth(), 3u);
}

TEST(BitmapObject, PngRoundTripKeepsPixelsAndEndsAtTheLastChunk) {
  BitmapObject bitmap;
  ASSERT_TRUE(bitmap.CreateBitmapFromScan0(5, 4));
  const gdiplus::ARGB pixels[] = {0xFF102030, 0x80FF0000, 0x00000000, 0xFFFFFFFF};
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(bitmap.BitmapSetPixel(i, i, pixels[i]));

  Bytes png = bitmap.SaveImageToStream(gdiplus::kPngFormat);
  EXPECT_TRUE(StartsWithPngSignature(png));
  EXPECT_TRUE(EndsWithIend(png)) << png.size();

  BitmapObject back;
  ASSERT_TRUE(back.CreateBitmapFromStream(png));
  EXPECT_EQ(back.GetImageWidth(), 5u);
  EXPECT_EQ(back.GetImageHeight(), 4u);
  for (int i = 0; i < 4; ++i) {
    if (Alpha(pixels[i]) == 0) {
      EXPECT_EQ(Alpha(back.BitmapGetPixel(i, i)), 0);
    } else {
      EXPECT_EQ(back.BitmapGetPixel(i, i), pixels[i]) << i;
    }
  }
}

TEST(BitmapObject, SavingNeedsAnEncoderFormatWrittenExactly) {
  BitmapObject bitmap;
  ASSERT_TRUE(bitmap.CreateBitmapFromScan0(4, 4));
  const char* const unknown[] = {
      "{b96b3caf-0728-11d3-9d7b-0000f81ef32e}",  // the PNG identifier in lower case
      "{B96B3CAF-0728-11D3-9D7B-0000F81EF32F}", "B96B3CAF-0728-11D3-9D7B-0000F81EF32E", "image/png", "",
  };
  for (const char* format : unknown) EXPECT_TRUE(bitmap.SaveImageToStream(format).empty()) << format;
  // A memory bitmap's own format has no encoder either.
  EXPECT_TRUE(bitmap.SaveImageToStream().empty());
  EXPECT_FALSE(bitmap.SaveImageToStream(kJpegFormat).empty());
}

TEST(BitmapObject, WithoutAFormatAnImageSavesInItsOwn) {
  ImageObject image;
  ASSERT_TRUE(image.LoadImageFromStream(resources::embeddedImageBytes(ImageRole::HelpGlyph)));
  EXPECT_TRUE(StartsWithPngSignature(image.SaveImageToStream()));
}

TEST(ImageObjects, DisposeTwiceFailsTheSecondTime) {
  BitmapObject bitmap;
  EXPECT_FALSE(bitmap.DisposeImage());
  ASSERT_TRUE(bitmap.CreateBitmapFromStream(resources::embeddedImageBytes(ImageRole::CheckGlyph)));
  EXPECT_TRUE(bitmap.DisposeImage());
  EXPECT_FALSE(bitmap.DisposeImage());
  EXPECT_EQ(bitmap.GetImageWidth(), 0u);

  ImageObject image;
  EXPECT_FALSE(image.DisposeImage());
  ASSERT_TRUE(image.LoadImageFromStream(resources::embeddedImageBytes(ImageRole::CheckGlyph)));
  EXPECT_TRUE(image.DisposeImage());
  EXPECT_FALSE(image.DisposeImage());
}

TEST(ImageObjects, EmptyObjectsAnswerZeroAndInvalidParameter) {
  BitmapObject bitmap;
  gdiplus::lastStatus = Gdiplus::Ok;
  EXPECT_EQ(bitmap.GetImageWidth(), 0u);
  EXPECT_EQ(gdiplus::lastStatus, Gdiplus::InvalidParameter);
  EXPECT_EQ(bitmap.BitmapGetPixel(0, 0), 0u);
  EXPECT_FALSE(bitmap.BitmapSetPixel(0, 0, 0xFFFFFFFF));
  EXPECT_EQ(bitmap.CreateHBITMAPFromBitmap(0), nullptr);
  EXPECT_TRUE(bitmap.SaveImageToStream(gdiplus::kPngFormat).empty());
}

TEST(BitmapObject, Scan0DefaultsToThirtyTwoBitArgb) {
  BitmapObject bitmap;
  ASSERT_TRUE(bitmap.CreateBitmapFromScan0(10, 20));
  EXPECT_EQ(bitmap.GetImageWidth(), 10u);
  EXPECT_EQ(bitmap.GetImageHeight(), 20u);
  EXPECT_EQ(bitmap.GetImagePixelFormat(), 0x26200Au);
  EXPECT_FALSE(bitmap.CreateBitmapFromScan0(0, 20));
  EXPECT_TRUE(bitmap.IsEmpty());
}

TEST(BitmapObject, MakesGdiBitmapsAndReadsIcons) {
  BitmapObject bitmap;
  ASSERT_TRUE(bitmap.CreateBitmapFromScan0(7, 3));
  HBITMAP gdiBitmap = bitmap.CreateHBITMAPFromBitmap(0xFF000000);
  ASSERT_NE(gdiBitmap, nullptr);
  BITMAP info = {};
  ASSERT_EQ(GetObjectA(gdiBitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
  EXPECT_EQ(info.bmWidth, 7);
  EXPECT_EQ(info.bmHeight, 3);
  DeleteObject(gdiBitmap);

  HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  ASSERT_TRUE(bitmap.CreateBitmapFromHICON(icon));
  EXPECT_EQ(bitmap.GetImageWidth(), static_cast<UINT>(GetSystemMetrics(SM_CXICON)));
}

TEST(ImageObject, RotatesAndFlips) {
  ImageObject image;
  ASSERT_TRUE(image.LoadImageFromStream(resources::embeddedImageBytes(ImageRole::CloseGlyph)));
  ASSERT_TRUE(image.ImageRotateFlip(Gdiplus::Rotate90FlipNone));
  EXPECT_EQ(image.GetImageWidth(), 18u);
  EXPECT_EQ(image.GetImageHeight(), 38u);
}

TEST(ImageObjects, LoadFromFilesNamedInTheAnsiCodePage) {
  char directory[MAX_PATH] = {};
  ASSERT_GT(GetTempPathA(MAX_PATH, directory), 0u);
  const std::string path = std::string(directory) + "钢铁图片.png";
  Bytes png = resources::embeddedImageBytes(ImageRole::MinimizeGlyph);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
  CloseHandle(file);

  BitmapObject bitmap;
  EXPECT_TRUE(bitmap.CreateBitmapFromFile(path));
  EXPECT_EQ(bitmap.GetImageWidth(), 26u);
  ImageObject image;
  EXPECT_TRUE(image.LoadImageFromFile(path));
  EXPECT_EQ(image.GetImageHeight(), 18u);
  image.DisposeImage();
  bitmap.DisposeImage();
  DeleteFileA(path.c_str());
  EXPECT_FALSE(image.LoadImageFromFile(path));
}

}  // namespace
