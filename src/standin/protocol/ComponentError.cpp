#include "standin/protocol/ComponentError.h"

namespace morvane::standin {

std::wstring DescribeError(ComponentError code) {
  switch (code) {
    case ComponentError::kNone:
      return L"";
    case ComponentError::kEmptyPath:
      return L"Не указан файл для передачи";
    case ComponentError::kFileNotFound:
      return L"Не удалось открыть файл";
    case ComponentError::kFileReadFailed:
      return L"Ошибка чтения файла";
    case ComponentError::kFileTooLarge:
      return L"Файл слишком велик для передачи";
    case ComponentError::kNoRequest:
      return L"Нет запроса терминала для этой операции";
    case ComponentError::kTerminalGone:
      return L"Терминал разорвал соединение";
    case ComponentError::kTerminalTimeout:
      return L"Терминал не ответил за отведённое время";
    case ComponentError::kTerminalProtocol:
      return L"Неверный ответ терминала";
    case ComponentError::kTerminalRefused:
      return L"Терминал сообщил об ошибке";
    case ComponentError::kWriteFailed:
      return L"Ошибка записи файла";
    case ComponentError::kDataTooLarge:
      return L"Терминал передаёт слишком большой объём данных";
    case ComponentError::kBadArgument:
      return L"Неверный параметр";
    case ComponentError::kStopped:
      return L"Сервер остановлен";
    case ComponentError::kListenFailed:
      return L"Не удалось открыть порт для приёма соединений";
    case ComponentError::kModeNotSupported:
      return L"Поддерживается только режим WiFi (значение 1)";
    case ComponentError::kTooSlow:
      return L"Обмен с терминалом идёт слишком медленно";
  }
  return L"Неизвестная ошибка";
}

}  // namespace morvane::standin
