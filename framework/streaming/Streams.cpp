#include "framework/streaming/Streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Exception.h"

namespace lx::framework {

namespace {

std::int64_t NewPosition(std::int64_t current, std::int64_t size, std::int64_t offset,
                         TSeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == TSeekOrigin::soCurrent) base = current;
  if (origin == TSeekOrigin::soEnd) base = size;
  return std::max<std::int64_t>(0, base + offset);
}

std::int64_t ReadFromSpan(std::span<const std::uint8_t> bytes, std::int64_t& position, void* buffer,
                          std::int64_t count) {
  const auto size = static_cast<std::int64_t>(bytes.size());
  if (count <= 0 || position >= size) return 0;
  const std::int64_t taken = std::min(count, size - position);
  std::memcpy(buffer, bytes.data() + position, static_cast<std::size_t>(taken));
  position += taken;
  return taken;
}

}  // namespace

std::int64_t TStream::Size() {
  const std::int64_t position = Position();
  const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(position, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw platform::EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count > 0 && Write(buffer, count) != count) {
    throw platform::EWriteError("Stream write error");
  }
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::uint8_t chunk[4096];
  std::int64_t copied = 0;
  while (copied < count) {
    const std::int64_t piece = std::min<std::int64_t>(count - copied, sizeof chunk);
    source.ReadBuffer(chunk, piece);
    WriteBuffer(chunk, piece);
    copied += piece;
  }
  return copied;
}

TFileStream::TFileStream(std::string_view fileName, Mode mode) : fileName_(fileName) {
  int flags = O_RDONLY;
  if (mode == Mode::OpenReadWrite) flags = O_RDWR;
  if (mode == Mode::Create) flags = O_RDWR | O_CREAT | O_TRUNC;
  handle_ = open(fileName_.c_str(), flags | O_CLOEXEC, 0644);
  if (handle_ < 0) {
    const std::string reason = std::strerror(errno);
    if (mode == Mode::Create) {
      throw platform::EFCreateError("Cannot create file \"" + fileName_ + "\". " + reason);
    }
    throw platform::EFOpenError("Cannot open file \"" + fileName_ + "\". " + reason);
  }
}

TFileStream::~TFileStream() {
  close(handle_);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  std::int64_t total = 0;
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  while (total < count) {
    const ssize_t got = read(handle_, bytes + total, static_cast<std::size_t>(count - total));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    total += got;
  }
  return total;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  std::int64_t total = 0;
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  while (total < count) {
    const ssize_t put = write(handle_, bytes + total, static_cast<std::size_t>(count - total));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    total += put;
  }
  return total;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const off_t current = lseek(handle_, 0, SEEK_CUR);
  const off_t size = origin == TSeekOrigin::soEnd ? lseek(handle_, 0, SEEK_END) : 0;
  const off_t result = lseek(handle_, NewPosition(current, size, offset, origin), SEEK_SET);
  return result < 0 ? current : result;
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  return ReadFromSpan(bytes_, position_, buffer, count);
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t end = position_ + count;
  if (end > Size()) bytes_.resize(static_cast<std::size_t>(end));
  std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(count));
  position_ = end;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  position_ = NewPosition(position_, Size(), offset, origin);
  return position_;
}

void TMemoryStream::SetSize(std::int64_t size) {
  bytes_.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, size)));
  position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  const std::int64_t size = source.Size();
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  source.ReadBuffer(bytes.data(), size);
  bytes_ = std::move(bytes);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(std::string_view fileName) {
  TFileStream file(fileName, TFileStream::Mode::OpenRead);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(std::string_view fileName) const {
  TFileStream file(fileName, TFileStream::Mode::Create);
  file.WriteBuffer(bytes_.data(), static_cast<std::int64_t>(bytes_.size()));
}

std::int64_t TReadOnlyMemoryStream::Read(void* buffer, std::int64_t count) {
  return ReadFromSpan(bytes_, position_, buffer, count);
}

std::int64_t TReadOnlyMemoryStream::Write(const void*, std::int64_t) {
  return 0;
}

std::int64_t TReadOnlyMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  position_ = NewPosition(position_, Size(), offset, origin);
  return position_;
}

namespace {

std::span<const std::uint8_t> ResourceBytes(platform::HMODULE module, std::string_view name,
                                            std::string_view type) {
  const auto bytes = platform::FindResource(module, type, name);
  if (!bytes) throw platform::EResNotFound("Resource " + std::string(name) + " not found");
  return *bytes;
}

}  // namespace

TResourceStream::TResourceStream(platform::HMODULE module, std::string_view name,
                                 std::string_view type)
    : TReadOnlyMemoryStream(ResourceBytes(module, name, type)) {}

}  // namespace lx::framework
