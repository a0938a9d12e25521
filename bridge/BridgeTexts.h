#pragma once

namespace orvane::texts {

inline constexpr const char* invalidRequest = "无效请求";
inline constexpr const char* unknownCommand = "未知原生操作";

// Fixed replies that never pass through the writer; "ok" comes first.
inline constexpr const char* wrongThreadReply = "{\"ok\":false,\"error\":\"主线程要求\"}";
inline constexpr const char* encodingFailedReply = "{\"ok\":false,\"error\":\"编码失败\"}";

}  // namespace orvane::texts
