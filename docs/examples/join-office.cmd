@echo off
rem Joins the office network with the pass phrase kept in a file, keeps that setting as a
rem profile, exports it for the other PCs, and shows the link for the log.
hxctl connect WPA-AES-Office --cipher aes --passphrase-file office.key --wait 30
if errorlevel 1 exit /b %errorlevel%
hxctl profile save Office
if errorlevel 1 exit /b %errorlevel%
hxctl profile export Office --key clear > Office.xml
if errorlevel 1 exit /b %errorlevel%
hxctl -t status
