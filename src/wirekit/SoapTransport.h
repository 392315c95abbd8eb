// The built-in transport: SOAP 1.1 over HTTP(S) with libcurl. Thread-safe: each thread keeps
// its own connection handle between calls, so consecutive calls from one thread to one
// server ride one keep-alive connection. Trust, identity, proxy, time-outs and the reply
// limit: WireSettings.h.
//
// Failure texts, besides those of ReadSoapReply (SoapEnvelope.h). Each starts with a text fit
// to show the user and goes on with the technical detail, libcurl's message as a rule:
//   "服务器地址为空：no URL given for <method>"  the URL is empty; nothing is sent
//   "服务器地址无效：<detail>"  the URL is malformed or not http(s)
//   "无法连接服务器：<detail>"  refused, unknown host, or any other transport error; a proxy
//                               that refused the connection reads "proxy: <detail>"
//   "连接服务器超时：<detail>"  the connect or whole-exchange time-out fired
//   "安全连接失败：<detail>"    the TLS handshake or a certificate failed
//   "服务器连接中断：<detail>"  the server closed the connection before the reply ended
//   "服务器应答过大：<detail>"  the reply is longer than the limit
//   "请求已取消：cancelled"     CancelSoapExchanges ended the exchange
#pragma once

#include "wirekit/WebTransport.h"

// The process-wide built-in transport.
IWebTransport& BuiltInSoapTransport();

// Ends the built-in transport's exchanges in flight on every thread: each one's poll is woken
// and the exchange returns at once. Exchanges that start after the call run normally.
void CancelSoapExchanges();
