// Streams of bytes: the base class and the file, memory and resource streams.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Resources.h"

namespace lx::framework {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

/// A readable, writable and seekable sequence of bytes.
class TStream {
 public:
  virtual ~TStream() = default;

  /// Reads up to `count` bytes; returns how many were read.
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  /// Writes up to `count` bytes; returns how many were written.
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  /// Moves the position; returns the new one. Positions before 0 are clamped.
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  virtual std::int64_t Size();
  /// Bytes from the position to the end.
  std::int64_t Remaining() { return Size() - Position(); }

  /// Reads exactly `count` bytes or raises EReadError "Stream read error".
  void ReadBuffer(void* buffer, std::int64_t count);
  /// Writes exactly `count` bytes or raises EWriteError "Stream write error".
  void WriteBuffer(const void* buffer, std::int64_t count);
  /// Copies `count` bytes from `source` (all of it from its start when 0).
  std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

/// A stream over a file of the host.
class TFileStream : public TStream {
 public:
  enum class Mode { OpenRead, OpenReadWrite, Create };

  /// Opens (or creates) the file; raises EFOpenError 'Cannot open file "%s". %s'
  /// or EFCreateError 'Cannot create file "%s". %s' with the system's reason.
  TFileStream(std::string_view fileName, Mode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
  int handle_ = -1;
};

/// A stream over bytes in memory that it owns and grows on writing.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }

  void SetSize(std::int64_t size);
  void Clear();
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  void LoadFromStream(TStream& source);
  void LoadFromFile(std::string_view fileName);
  void SaveToFile(std::string_view fileName) const;

 private:
  std::vector<std::uint8_t> bytes_;
  std::int64_t position_ = 0;
};

/// A read-only stream over bytes owned by someone else (linked data).
class TReadOnlyMemoryStream : public TStream {
 public:
  explicit TReadOnlyMemoryStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::int64_t Read(void* buffer, std::int64_t count) override;
  /// Writes nothing: the bytes belong to someone else.
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::int64_t position_ = 0;
};

/// A read-only stream over a resource of a module; raises EResNotFound
/// "Resource %s not found" when the module holds no such resource.
class TResourceStream : public TReadOnlyMemoryStream {
 public:
  TResourceStream(platform::HMODULE module, std::string_view name, std::string_view type);
};

}  // namespace lx::framework
