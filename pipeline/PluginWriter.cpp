#include "pipeline/PluginWriter.h"

#include <dlfcn.h>

#include <algorithm>

#include "platform/MulDiv.h"
#include "platform/ResourceFiles.h"

CPluginWriter::CPluginWriter(std::string dllFileName, void* mainWindow)
    : CAudioWriter("Vu Plugin Writer"), m_hMainWindow(mainWindow), m_strDllFileName(std::move(dllFileName)) {
  LoadModule(FindPluginFolder(m_strDllFileName));
}

CPluginWriter::CPluginWriter(std::string dllFileName, void* mainWindow, const std::string& directory)
    : CAudioWriter("Vu Plugin Writer"), m_hMainWindow(mainWindow), m_strDllFileName(std::move(dllFileName)) {
  LoadModule(directory.empty() || directory.back() == '/' ? directory : directory + "/");
}

CPluginWriter::~CPluginWriter() { UnloadModule(); }

void CPluginWriter::LoadModule(const std::string& directory) {
  // A name without a '/' would make dlopen search the library path: the
  // plug-in must come from the given directory only.
  const std::string path = (directory.empty() ? std::string("./") : directory) + m_strDllFileName;
  m_hLibrary = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m_hLibrary) return;
  auto entry = reinterpret_cast<VuGetOutModuleFunc>(dlsym(m_hLibrary, kVuGetOutModuleName));
  VuOutModule* module = entry ? entry() : nullptr;
  if (!module || !module->Init || !module->Quit || !module->Open || !module->Close || !module->Write ||
      !module->CanWrite || !module->IsPlaying || !module->Pause || !module->SetVolume || !module->Flush ||
      !module->GetOutputTime || !module->GetWrittenTime) {
    dlclose(m_hLibrary);
    m_hLibrary = nullptr;
    return;
  }
  m_pModule = module;
  m_pModule->hMainWindow = m_hMainWindow;
  m_pModule->hDllInstance = m_hLibrary;
  m_pModule->Init();
}

void CPluginWriter::UnloadModule() {
  if (m_pModule) {
    m_pModule->Quit();
    m_pModule = nullptr;
  }
  if (m_hLibrary) {
    dlclose(m_hLibrary);
    m_hLibrary = nullptr;
  }
}

int CPluginWriter::Open(const char* /*text1*/, int* sampleRate, int* bitsPerSample, int* channels,
                        const WriterInfoTexts& texts) {
  m_nWrittenMs.store(0);
  if (!sampleRate || !bitsPerSample || !channels) return 0;
  if (*sampleRate <= 0 || *bitsPerSample <= 0 || *channels <= 0 || !m_pModule) return 0;
  if (m_pModule->Open(*sampleRate, *channels, *bitsPerSample, -1, -1) < 0) return 0;
  m_nSampleRate = *sampleRate;
  m_nBitsPerSample = *bitsPerSample;
  m_nChannels = *channels;
  m_texts = texts;
  return 1;
}

void CPluginWriter::Close() {
  if (m_pModule) m_pModule->Close();
  m_nWrittenMs.store(0);
}

int CPluginWriter::Write(const void* buffer, int length) {
  if (!m_pModule) return -1;
  const int bytesPerSecond = m_nBitsPerSample / 8 * m_nChannels * m_nSampleRate;
  const int milliseconds = bytesPerSecond > 0 ? MulDiv(length, 1000, bytesPerSecond) : 0;
  if (milliseconds > 0) m_nWrittenMs.fetch_add(milliseconds);
  return m_pModule->Write(buffer, length) == 0 ? 1 : 0;
}

int CPluginWriter::CanWrite() { return m_pModule ? m_pModule->CanWrite() : -1; }

int CPluginWriter::IsPlaying() { return m_pModule ? m_pModule->IsPlaying() : 0; }

int CPluginWriter::GetPosition() {
  if (!m_pModule) return 0;
  return m_nWrittenMs.load() - m_pModule->GetWrittenTime() + m_pModule->GetOutputTime();
}

int CPluginWriter::Pause(int flag) { return m_pModule ? m_pModule->Pause(flag) : 0; }

void CPluginWriter::Flush(int milliseconds) {
  if (!m_pModule) return;
  m_nWrittenMs.store(milliseconds);
  m_pModule->Flush(milliseconds);
}

void CPluginWriter::SetVolume(int percent) {
  if (!m_pModule) return;
  m_pModule->SetVolume(MulDiv(std::clamp(percent, 0, 100), 255, 100));
}
