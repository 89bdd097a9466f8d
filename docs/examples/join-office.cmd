@echo off
rem At every logon: waits for the utility (it may start after this script), joins the office
rem network with the pass phrase kept in a file, keeps that setting as the profile Office in
rem place of the one an earlier logon kept, exports it for the other PCs, and shows the link
rem for the log.
hxctl connect WPA-AES-Office --cipher aes --passphrase-file office.key --wait 120
if errorlevel 1 exit /b %errorlevel%
rem Exit status 10: no profile Office yet, as at the first logon.
hxctl profile delete Office >nul 2>nul
if %errorlevel% neq 0 if %errorlevel% neq 10 exit /b %errorlevel%
hxctl profile save Office
if errorlevel 1 exit /b %errorlevel%
hxctl profile export Office --key clear > Office.xml
if errorlevel 1 exit /b %errorlevel%
hxctl -t status
